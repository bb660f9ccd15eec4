#pragma once
// A serial port that the event loop drives through one descriptor: a tty, or the socket of a
// serial device server. The loop watches fd() and calls handleReadable() when it is readable (or
// hung up); the port then raises its events: data, line errors, and a lost connection, after
// which the descriptor is already closed.
#include <chrono>
#include <cstddef>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include <sys/ioctl.h>

#include "core/common/Bytes.hpp"
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

// What input() hands on from the port's receive queue: everything, or its first inputLen bytes.
inline Bytes nimmAusQueue(Bytes& queue, std::size_t inputLen) {
    if (inputLen == 0 || inputLen >= queue.size()) return std::exchange(queue, Bytes{});
    const auto ende = queue.begin() + static_cast<std::ptrdiff_t>(inputLen);
    Bytes chunk(queue.begin(), ende);
    queue.erase(queue.begin(), ende);
    return chunk;
}

// Bytes waiting in the kernel behind fd (one FIONREAD); 0 when closed or not to be had.
inline std::size_t wartetImKernel(int fd) {
    int kernel = 0;
    if (fd < 0 || ::ioctl(fd, FIONREAD, &kernel) != 0) return 0;
    return static_cast<std::size_t>(kernel > 0 ? kernel : 0);
}

// Raises the events of one reading in the order data, errors, loss. A handler may close or
// reopen the port (an error box's Cancel): nothing of this opening is reported after that.
// `offen` says whether the opening read from is still open, `gleicheOeffnung` whether it is
// still the port's current one (a lost port is already closed when its loss is told).
template <typename Offen, typename GleicheOeffnung, typename Melde>
void meldeLesung(bool daten, const std::vector<int>& fehler, bool verloren, Offen offen,
                 GleicheOeffnung gleicheOeffnung, Melde melde) {
    if (daten) melde(ports::CommEvent::Empfang);
    for (int code : fehler) {
        if (!offen() || !gleicheOeffnung()) break;
        melde(code);
    }
    if (verloren && gleicheOeffnung()) melde(ports::CommEvent::VerbindungVerloren);
}

}  // namespace krv::platform
