#include "clock/network_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "clock/clock.h"
#include "convert/convert.h"

namespace {

Text timeOfDayText(int64_t secondOfDay) {
    return numberToText(secondOfDay / 3600) + "时" + numberToText(secondOfDay / 60 % 60) + "分" +
           numberToText(secondOfDay % 60) + "秒";
}

// Beijing midnights as seconds since 1970 UTC: one in 2024, and the days holding the first (1901) and the
// last (2038) 32-bit second.
TEST(ClockTextOf, EverySecondOfADayComesOutExactly) {
    for (const int64_t midnight : {int64_t{1717171200}, int64_t{-2147500800}, int64_t{2147443200}}) {
        for (int64_t second = 0; second < 86400; ++second) {
            const int64_t seconds = midnight + second;
            if (seconds > std::numeric_limits<int32_t>::max() ||
                seconds < std::numeric_limits<int32_t>::min()) {
                continue;
            }
            const Text want = timeOfDayText(second);
            // The whole second and its last millisecond both show the same second.
            if (clockTextOf(static_cast<double>(seconds) * 1000.0) != want ||
                clockTextOf(static_cast<double>(seconds) * 1000.0 + (seconds < 0 ? -999.0 : 999.0)) != want) {
                ADD_FAILURE() << "at " << seconds
                              << " s: " << clockTextOf(static_cast<double>(seconds) * 1000.0);
                return;
            }
        }
    }
}

TEST(NetworkSeconds, TruncatesTowardZeroAndKeepsTheLow32Bits) {
    struct Case {
        double milliseconds;
        int32_t seconds;
    };
    for (const Case& c : {Case{0, 0}, Case{999, 0}, Case{-999, 0}, Case{-1000, -1}, Case{-1500, -1},
                          Case{1717171717999, 1717171717}, Case{2147483647999, 2147483647},
                          Case{2147483648000, -2147483647 - 1}, Case{4294967296000, 0},
                          Case{4294967297000, 1}, Case{-2147483649000, 2147483647}, Case{-4294967297000, -1},
                          Case{1099511627781000, 5}}) {  // 2^40 + 5 seconds
        SCOPED_TRACE(c.milliseconds);
        EXPECT_EQ(networkSeconds(c.milliseconds), c.seconds);
    }
}

TEST(NetworkSeconds, CountsBeyondAnyIntegerAndNotANumberGiveNoUndefinedResult) {
    // Whole multiples of 2^32 past 2^63 keep no low bits; nothing beyond the range of a double is a count.
    EXPECT_EQ(networkSeconds(std::ldexp(1.0, 70) * 1000.0), 0);
    EXPECT_EQ(networkSeconds(-std::ldexp(1.0, 70) * 1000.0), 0);
    EXPECT_EQ(networkSeconds(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(networkSeconds(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(FormatTimeOfDay, RoundsToTheNearestSecondAndNeverLeavesTheDay) {
    struct Case {
        double dateTime;
        Text text;
    };
    for (const Case& c :
         {Case{25569.333333333332, "8时0分0秒"}, Case{0.0, "0时0分0秒"}, Case{0.5, "12时0分0秒"},
          Case{1.0 - 1.0 / 172800.0, "0时0分0秒"}, Case{1.0 - 1.5 / 86400.0, "23时59分59秒"},
          Case{-1.25, "6时0分0秒"}, Case{-1.0 - 1.0 / 172800.0, "0时0分1秒"},
          Case{std::nextafter(1.0, 0.0), "0时0分0秒"}, Case{1e300, "0时0分0秒"},
          Case{std::numeric_limits<double>::quiet_NaN(), "0时0分0秒"}}) {
        SCOPED_TRACE(c.dateTime);
        EXPECT_EQ(formatTimeOfDay(c.dateTime), c.text);
    }
}

}  // namespace
