#pragma once
// Where the simulated controller's bytes go: the master side of a new pseudo-terminal, a serial
// device or file, or standard output.
#include <csignal>
#include <stdexcept>
#include <string>

#include "core/common/Bytes.hpp"

namespace krv::sim {

// The device or file cannot be opened or written: "PATH: REASON".
struct DateiFehler : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Sink {
public:
    // A new pseudo-terminal; its slave path is slavePath(). Throws std::runtime_error.
    static Sink pseudoTerminal();
    // An existing device or file ("-" = standard output); a tty is set to 9600 8N1 raw. Throws
    // DateiFehler.
    static Sink device(const std::string& path);

    Sink(Sink&& other) noexcept;
    Sink& operator=(Sink&&) = delete;
    ~Sink();

    bool isPseudoTerminal() const { return pty_; }
    const std::string& slavePath() const { return slavePath_; }

    // Sends bytes. Like the real device, a pseudo-terminal nobody reads from (or whose line is
    // full) simply loses them, unless `warten` asks to wait for the reader. False when the
    // reader is gone for good (a closed pipe) or a stop was requested while waiting. Throws
    // DateiFehler when a device or file fails otherwise (a full disk).
    bool write(ByteView bytes, bool warten, const volatile std::sig_atomic_t& stop);

private:
    Sink(int fd, bool pty, bool ownsFd, std::string slavePath, std::string name = {})
        : fd_(fd), pty_(pty), ownsFd_(ownsFd), slavePath_(std::move(slavePath)), name_(std::move(name)) {}

    int fd_ = -1;
    bool pty_ = false;
    bool ownsFd_ = false;
    std::string slavePath_;
    std::string name_;  // the path, or "standard output"
};

}  // namespace krv::sim
