#pragma once
// Where the simulated controller's bytes go: the master side of a new pseudo-terminal, a serial
// device or file, standard output, or every client of a TCP port (as a serial device server
// sends a line's bytes as raw TCP).
#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

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
    // Listens on "[HOST:]PORT" (HOST a name, an IPv4 address or a bracketed IPv6 address;
    // 127.0.0.1 when left out; PORT 0 picks a free one); address() tells where. Throws
    // std::runtime_error.
    static Sink listen(const std::string& hostPort);

    Sink(Sink&& other) noexcept;
    Sink& operator=(Sink&&) = delete;
    ~Sink();

    bool isPseudoTerminal() const { return pty_; }
    const std::string& slavePath() const { return slavePath_; }
    bool isListening() const { return !adresse_.empty(); }
    // "HOST:PORT" of a listening sink, the port the one it got.
    const std::string& address() const { return adresse_; }

    // Sends bytes. Like the real device, a pseudo-terminal nobody reads from (or whose line is
    // full) simply loses them, unless `warten` asks to wait for the reader. False when the
    // reader is gone for good (a closed pipe) or a stop was requested while waiting. Throws
    // DateiFehler when a device or file fails otherwise (a full disk). A listening sink first
    // takes the clients that came, sends to each, and drops the ones that left; `warten` then
    // also waits for a first client.
    bool write(ByteView bytes, bool warten, const volatile std::sig_atomic_t& stop);

private:
    Sink(int fd, bool pty, bool ownsFd, std::string slavePath, std::string name = {})
        : fd_(fd), pty_(pty), ownsFd_(ownsFd), slavePath_(std::move(slavePath)), name_(std::move(name)) {}

    int fd_ = -1;
    bool pty_ = false;
    bool ownsFd_ = false;
    std::string slavePath_;
    std::string name_;  // the path, or "standard output"
    std::string adresse_;
    std::vector<int> clients_;

    void nimmClients(bool warten, const volatile std::sig_atomic_t& stop);
    bool sendeAnClients(ByteView bytes, bool warten, const volatile std::sig_atomic_t& stop);
};

}  // namespace krv::sim
