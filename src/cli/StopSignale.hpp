#pragma once
// Ending a recording from outside: while a StopSignale lives, SIGINT (Ctrl+C), SIGTERM and
// SIGHUP (the terminal went away) no longer end the program at once. They are noted, and the
// input reader (ByteQuelle) stops at the next piece, so the recording can be finished properly.
#include <csignal>
#include <cstddef>
#include <string>

#include "core/common/Bytes.hpp"

namespace krv::cli {

class StopSignale {
public:
    // A signal the program was started with ignored (nohup, a background job) stays ignored.
    StopSignale();
    // Signals that arrived meanwhile are consumed; then the old signal mask is back.
    ~StopSignale();
    StopSignale(const StopSignale&) = delete;
    StopSignale& operator=(const StopSignale&) = delete;

    // The descriptor that becomes readable when a signal arrived; -1 when the signals could not
    // be taken over (they then act as before).
    int fd() const { return fd_; }
    // Whether one of the signals has arrived by now.
    bool empfangen();

private:
    int fd_ = -1;
    sigset_t alteMaske_{};
    bool empfangen_ = false;
};

enum class Lesen {
    Daten,   // bytes were appended (possibly none, after an interrupted wait)
    Ende,    // the input has ended
    Signal,  // a stop signal arrived; nothing more was read
    Fehler,  // reading failed; fehler holds the reason
};

}  // namespace krv::cli
