#pragma once
// Line errors from the kernel's per-port error counters (TIOCGICOUNT): the counters that grew
// since the last look become events. Drivers without counters (pseudo-terminals, most USB
// adapters' older drivers) simply report none.
#include <optional>
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

class KernelLineErrors : public ports::LineErrorSource {
public:
    void start(int fd) override;
    std::vector<int> neueFehler(int fd) override;

private:
    std::optional<FehlerZaehler> letzte_;
};

}  // namespace krv::platform
