#pragma once
// Time as the program needs it: a monotonic count for elapsed intervals and the local date value.
#include <cstdint>

namespace krv::ports {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary start; never goes backwards, not affected by midnight.
    virtual std::int64_t monotonicMs() = 0;
    // Local date and time as days since 1899-12-30, the fraction being the time of day.
    virtual double nowDateValue() = 0;
};

}  // namespace krv::ports
