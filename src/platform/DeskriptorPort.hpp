#pragma once
// A serial port that the event loop drives through one descriptor: a tty, or the socket of a
// serial device server. The loop watches fd() and calls handleReadable() when it is readable (or
// hung up); the port then raises its events: data, line errors, and a lost connection, after
// which the descriptor is already closed.
#include <chrono>
#include <cstddef>
#include <functional>

#include "core/ports/SerialPort.hpp"

namespace krv::platform {

class DeskriptorPort : public ports::SerialPort {
public:
    // The open descriptor to watch for readability, -1 while closed.
    virtual int fd() const = 0;
    // Reads what arrived and raises the events; call it when fd() is readable.
    virtual void handleReadable() = 0;
    // Bytes waiting in the kernel (one FIONREAD); 0 also when the count cannot be had.
    virtual std::size_t imKernel() const = 0;

    // Told the new descriptor after every opening and -1 after every closing (also after a lost
    // connection), so the event loop can stop watching a descriptor that is gone.
    using DescriptorListener = std::function<void(int fd)>;
    virtual void setDescriptorListener(DescriptorListener listener) = 0;

    // How an opening that has to wait (a network connection) waits: until fd is readable or the
    // time is up; true when it is readable. The window lets its event loop run meanwhile; without
    // a waiter the opening blocks in poll(2).
    using Warter = std::function<bool(int fd, std::chrono::milliseconds frist)>;
    virtual void setWarter(Warter) {}
};

}  // namespace krv::platform
