#include "textutil/regex_object.h"

#include <gtest/gtest.h>

#include "textutil/keep_digits.h"

TEST(KeepDigits, KeepsTheAsciiDigitsInOrder) {
    struct Case {
        const char* name;
        Text source;
        Text want;
    };
    for (const Case& c : {
             Case{"time record", "2013-07-07 13:54:49.123", "20130707135449123"},
             Case{"no digits", "abc", ""},
             Case{"empty", "", ""},
             Case{"between two-byte characters, full-width digit dropped", "中12文３", "12"},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keepDigits(c.source), c.want);
    }
}
