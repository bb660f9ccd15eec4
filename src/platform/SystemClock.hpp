#pragma once
// The real clock: steady time for intervals, local wall time as a date value.
#include "core/ports/Clock.hpp"

namespace krv::platform {

class SystemClock : public ports::Clock {
public:
    std::int64_t monotonicMs() override;
    double nowDateValue() override;
};

// Local date and time given as seconds since the Unix epoch, as days since 1899-12-30.
double dateValueFromUnixSeconds(double unixSeconds);

}  // namespace krv::platform
