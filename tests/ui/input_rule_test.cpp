#include "ui/input_rule.h"

#include <gtest/gtest.h>

TEST(InputRule, KeyFilterLetsThroughDigitsMinusAndControlCharacters) {
    for (unsigned int code = 0; code < 0x10000; ++code) {
        const bool want = code < 32 || code == '-' || (code >= '0' && code <= '9');
        if (acceptsTypedCharacter(code) != want) ADD_FAILURE() << "character code " << code;
    }
}

TEST(InputRule, NormalisesAsTheBoxShowsItAfterFocusLoss) {
    struct Case {
        const char* in;
        const char* integer;
        const char* longInteger;
    };
    const Case cases[] = {
        {"12-3", "12", "12"},
        {" +0042xyz", "42", "42"},
        {"\t\n\v\f\r 7", "7", "7"},
        {"abc", "", ""},
        {"0", "", ""},
        {"-", "", ""},
        {"-0", "", ""},
        {"+", "", ""},
        {"", "", ""},
        {"--5", "", ""},
        {"+-5", "", ""},
        {"- 5", "", ""},
        {"000", "", ""},
        {"-00120", "-120", "-120"},
        {"2147483647", "2147483647", "2147483647"},
        {"2147483648", "2147483647", "2147483648"},
        {"-2147483648", "-2147483648", "-2147483648"},
        {"-2147483649", "-2147483648", "-2147483649"},
        {"99999999999999", "2147483647", "99999999999999"},
        {"9223372036854775807", "2147483647", "9223372036854775807"},
        {"-9223372036854775808", "-2147483648", "-9223372036854775808"},
        // An overflow wraps modulo 2^64 before the clamp.
        {"9223372036854775808", "-2147483648", "-9223372036854775808"},
        {"18446744073709551615", "-1", "-1"},
        {"18446744073709551616", "", ""},
        {"18446744073709551626", "10", "10"},
        {"１２", "", ""},  // full-width digits are not read
        {"12３", "12", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(normaliseInput(c.in, InputRule::integer), c.integer);
        EXPECT_EQ(normaliseInput(c.in, InputRule::longInteger), c.longInteger);
    }
}

TEST(InputRule, NormalisedTextIsAFixedPoint) {
    for (const char* in : {"5", "-5", "2147483647", "-9223372036854775808", ""}) {
        SCOPED_TRACE(in);
        for (InputRule rule : {InputRule::integer, InputRule::longInteger}) {
            const Text once = normaliseInput(in, rule);
            EXPECT_EQ(normaliseInput(once, rule), once);
        }
    }
}
