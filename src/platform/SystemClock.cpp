#include "platform/SystemClock.hpp"

#include <chrono>
#include <cmath>
#include <ctime>

namespace krv::platform {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDateValue = 25569.0;

}  // namespace

std::int64_t SystemClock::monotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

double SystemClock::nowDateValue() {
    using namespace std::chrono;
    const double seconds = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() / 1e6;
    return dateValueFromUnixSeconds(seconds);
}

double dateValueFromUnixSeconds(double unixSeconds) {
    // The date value counts local time: shift by the zone offset in force at that moment.
    const std::time_t whole = static_cast<std::time_t>(std::floor(unixSeconds));
    std::tm local{};
    localtime_r(&whole, &local);
    const double localSeconds = unixSeconds + static_cast<double>(local.tm_gmtoff);
    return kUnixEpochDateValue + localSeconds / kSecondsPerDay;
}

}  // namespace krv::platform
