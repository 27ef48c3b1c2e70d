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

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The character at i as textToNumber reads it, with full-width ASCII and the ideographic space folded
// (0 for any other two-byte character); i moves past it.
char foldedCharAt(const Text& text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return static_cast<char>(lead);
    if (i == text.size()) return 0;
    const auto trail = static_cast<unsigned char>(text[i++]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
    if (lead == 0xA1 && trail == 0xA1) return ' ';
    return 0;
}

// Whether textToNumber finds a number here rather than giving 0 for want of one: after white space,
// an optional sign, then a digit, or a point followed by a digit.
bool startsWithNumber(const Text& text) {
    size_t i = 0;
    char c = 0;
    do {
        if (i == text.size()) return false;
        c = foldedCharAt(text, i);
    } while (isSpace(c));
    if (c == '+' || c == '-') {
        if (i == text.size()) return false;
        c = foldedCharAt(text, i);
    }
    if (c == '.') {
        if (i == text.size()) return false;
        c = foldedCharAt(text, i);
    }
    return isDigit(c);
}

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
    const Text number = extractBetween(pageText, leftMarker, rightMarker, 0, false);
    if (!startsWithNumber(number)) return std::nullopt;
    const double milliseconds = textToNumber(number);
    // A count too large for a double is no time at all.
    if (!std::isfinite(milliseconds)) return std::nullopt;
    return clockTextOf(milliseconds);
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
