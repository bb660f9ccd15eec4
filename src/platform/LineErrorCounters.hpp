#pragma once
// Line errors from the kernel's per-port error counters (TIOCGICOUNT): the counters that grew
// since the last look become events. Drivers without counters (pseudo-terminals, most USB
// adapters' older drivers) simply report none.
#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/ports/SerialPort.hpp"

namespace krv::platform {

struct FehlerZaehler {
    int frame = 0;
    int parity = 0;
    int brk = 0;
    int overrun = 0;
    int bufOverrun = 0;
};

// CommEvent codes, ascending, for the counters that grew from `vorher` to `nachher`: break 1001,
// framing 1004, overrun 1006, buffer overrun 1008, parity 1009.
std::vector<int> gewachseneZaehler(const FehlerZaehler& vorher, const FehlerZaehler& nachher);

// The counters of the tty on fd; nothing when the driver has none.
std::optional<FehlerZaehler> leseFehlerZaehler(int fd);

// Asked at every opening; a driver that has no counters then is not asked again until the next
// opening, one that has them at most every Abstand: the ioctl costs a system call per wake-up,
// and the counters keep what grew in between, so nothing is lost: it comes with the next read
// after the pause.
class KernelLineErrors : public ports::LineErrorSource {
public:
    static constexpr std::chrono::milliseconds Abstand{250};
    using Leser = std::function<std::optional<FehlerZaehler>(int fd)>;
    using Uhr = std::function<std::chrono::steady_clock::time_point()>;

    explicit KernelLineErrors(Leser leser = leseFehlerZaehler, Uhr uhr = std::chrono::steady_clock::now)
        : leser_(std::move(leser)), uhr_(std::move(uhr)) {}
    void start(int fd) override;
    std::vector<int> neueFehler(int fd) override;

private:
    Leser leser_;
    Uhr uhr_;
    std::optional<FehlerZaehler> letzte_;  // nothing: the driver has no counters
    std::chrono::steady_clock::time_point gefragt_{};
};

}  // namespace krv::platform
