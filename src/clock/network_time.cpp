#include "clock/network_time.h"

#include <cmath>

#include "clock/clock.h"
#include "convert/convert.h"
#include "textutil/extract_between.h"

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kHalfSecondInDays = 1.0 / 172800.0;
constexpr double kTwoTo32 = 4294967296.0;
// 1970-01-01 08:00:00 as an OLE Automation date: day 25569 plus a third.
constexpr double kEpochBeijing = 25569.333333333332;

}  // namespace

int32_t networkSeconds(double milliseconds) {
    const double seconds = std::trunc(milliseconds / kMillisecondsPerSecond);
    if (!std::isfinite(seconds)) return 0;
    // The low 32 bits of a whole number of any size, worked out in doubles where every step is exact.
    double low = std::fmod(seconds, kTwoTo32);
    if (low < 0) low += kTwoTo32;
    const auto bits = static_cast<uint32_t>(low);
    return static_cast<int32_t>(bits);
}

Text clockTextOf(double milliseconds) {
    const int32_t seconds = networkSeconds(milliseconds);
    return formatTimeOfDay(kEpochBeijing + static_cast<double>(seconds) / kSecondsPerDay);
}

std::optional<Text> readClockText(const Text& pageText) {
    Text leftMarker = "window.baidu_time(";
    Text rightMarker = ")";
    const std::optional<double> milliseconds =
        leadingNumber(extractBetween(pageText, leftMarker, rightMarker, 0, false));
    // A count too large for a double is no time at all.
    if (!milliseconds || !std::isfinite(*milliseconds)) return std::nullopt;
    return clockTextOf(*milliseconds);
}

Text formatTimeOfDay(double dateTime) {
    if (!std::isfinite(dateTime)) dateTime = 0;
    // Before day 0 the time of day still counts forward from midnight (-1.25 is 6 o'clock), so rounding
    // to the nearest second moves away from zero there.
    const double rounded = dateTime < 0 ? dateTime - kHalfSecondInDays : dateTime + kHalfSecondInDays;
    const double dayFraction = std::fabs(rounded - std::trunc(rounded));
    const auto secondOfDay = static_cast<int32_t>(dayFraction * kSecondsPerDay) % 86400;
    return numberToText(secondOfDay / 3600) + "时" + numberToText(secondOfDay / 60 % 60) + "分" +
           numberToText(secondOfDay % 60) + "秒";
}
