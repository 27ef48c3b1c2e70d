#include "convert/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "net/bytes_to_text.h"

namespace {

// GBK full-width forms: "１２" is A3 B1 A3 B2, the ideographic space A1 A1, "－" A3 AD.
const Text kFullWidth12 = "\xA3\xB1\xA3\xB2";
const Text kIdeographicSpace = "\xA1\xA1";

TEST(TextToInt32, ReadsLeadingNumberAfterFullWidthFolding) {
    struct Case {
        Text in;
        int32_t want;
    };
    const Case cases[] = {
        {"007", 7},
        {" -12abc", -12},
        {"13:54:49.123", 13},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+42", 42},
        {"\t\r\n 5", 5},
        {"--5", 0},
        {kFullWidth12, 12},
        {kIdeographicSpace + "\xA3\xAD" + "7", -7},  // ideographic space, full-width minus
        {"\xD6\xD0"
         "12",
         0},             // another two-byte character stays and stops the number
        {"12\xD6", 12},  // a lone lead byte at the end is dropped
        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<int32_t>::min()},
        {"-2147483649", 2147483647},
        {"4294967297", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(textToInt32(c.in), c.want);
    }
}

TEST(TextToInt64, WrapsAtTheSixtyFourBitLimit) {
    struct Case {
        Text in;
        int64_t want;
    };
    const Case cases[] = {
        {"9223372036854775807", std::numeric_limits<int64_t>::max()},
        {"9223372036854775808", std::numeric_limits<int64_t>::min()},
        {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
        {"18446744073709551617", 1},
        {"203100000", 203100000},
        {"4999999995", 4999999995},
        {" " + kFullWidth12 + "3", 123},
        {"99999999999999999999999999", -2537764290115403777},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(textToInt64(c.in), c.want);
    }
}

TEST(TextToNumber, ReadsTheDecimalFormOnly) {
    struct Case {
        Text in;
        double want;
    };
    const Case cases[] = {
        {"1717171717171", 1717171717171.0},
        {" -1500", -1500.0},
        {"1.5e3xyz", 1500.0},
        {"2.", 2.0},
        {".5", 0.5},
        {".", 0.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"inf", 0.0},
        {"nan", 0.0},
        {"0x10", 0.0},
        {"", 0.0},
        {"\xA3\xB1\xA3\xAE\xA3\xB5", 1.5},  // full-width 1.5
        {"13:54:49.123", 13.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(textToNumber(c.in), c.want);
    }
}

TEST(LeadingNumber, TellsANumberOfZeroFromNoNumber) {
    EXPECT_EQ(leadingNumber("0"), 0.0);
    EXPECT_EQ(leadingNumber(" -.5x"), -0.5);
    EXPECT_EQ(leadingNumber("\xA1\xA1\xA3\xB7"), 7.0);  // ideographic space, full-width 7
    for (const Text none : {"", " ", "abc", "-", ".", "+.e5", "\xD6\xD0" "1"}) {
        SCOPED_TRACE(none);
        EXPECT_FALSE(leadingNumber(none).has_value());
    }
}

TEST(NumberToText, PrintsIntegersPlainAndDoublesWithThirteenDigits) {
    EXPECT_EQ(numberToText(int32_t{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(numberToText(std::numeric_limits<int64_t>::max()), "9223372036854775807");
    EXPECT_EQ(numberToText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(numberToText(int64_t{4999999995}), "4999999995");
    struct Case {
        double in;
        Text want;
    };
    const Case cases[] = {
        {10000752.0, "10000752"},
        {-1.0, "-1"},
        {0.0, "0"},
        {-0.0, "-0"},
        {751.0, "751"},
        {9999999999999.0, "9999999999999"},
        {1e13, "1e+13"},
        {0.5, "0.5"},
        {1234567890123456.0, "1.234567890123e+15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        EXPECT_EQ(numberToText(c.in), c.want);
    }
}

TEST(FloatRemainder, TakesTheDividendsSignAndRefusesZero) {
    EXPECT_EQ(floatRemainder(609205751.0, 1000.0), 751.0);
    EXPECT_EQ(floatRemainder(609205751.0, -1000.0), 751.0);
    EXPECT_EQ(floatRemainder(-7.0, 3.0), -1.0);
    EXPECT_FALSE(floatRemainder(5.0, 0.0).has_value());
    EXPECT_FALSE(floatRemainder(5.0, -0.0).has_value());
}

TEST(BytesToText, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(bytesToText(Bytes{}), "");
    EXPECT_EQ(bytesToText(Bytes{'a', 'b'}), "ab");
    EXPECT_EQ(bytesToText(Bytes{'a', '\0', 'b'}), "a");
    EXPECT_EQ(bytesToText(Bytes{'\0', 'b'}), "");
    EXPECT_EQ(bytesToText(Bytes{'\xD6', '\xD0'}), "\xD6\xD0");
}

}  // namespace
