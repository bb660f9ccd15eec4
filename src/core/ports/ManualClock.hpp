#pragma once
// A clock that only moves when told to: tests and the command-line tool use it.
#include "core/ports/Clock.hpp"

namespace krv::ports {

class ManualClock : public Clock {
public:
    std::int64_t monotonicMs() override { return ms_; }
    double nowDateValue() override { return dateValue_; }

    void setMonotonicMs(std::int64_t ms) { ms_ = ms; }
    void advanceMs(std::int64_t ms) {
        ms_ += ms;
        dateValue_ += static_cast<double>(ms) / 86'400'000.0;
    }
    void setDateValue(double value) { dateValue_ = value; }

private:
    std::int64_t ms_ = 0;
    double dateValue_ = 0.0;
};

}  // namespace krv::ports
