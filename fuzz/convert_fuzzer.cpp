// The number conversions: the integer readers against a plain reading of their rules (full-width folding,
// white space, one sign, digits that wrap), and every number written by numberToText read back to itself.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "convert/convert.h"
#include "fuzz/fuzz_input.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

uint64_t plainReadInteger(const Text& text) {
    Text folded;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            folded += text[i];
            continue;
        }
        if (i + 1 == text.size()) break;
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else {
            folded += '\x80';  // any other character ends a number and is no white space
        }
    }
    size_t i = 0;
    while (i < folded.size() && (folded[i] == ' ' || (folded[i] >= '\t' && folded[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) negative = folded[i++] == '-';
    uint64_t value = 0;
    for (; i < folded.size() && isDigit(folded[i]); ++i)
        value = value * 10 + static_cast<uint64_t>(folded[i] - '0');
    return negative ? 0 - value : value;
}

template <typename T>
T readRaw(const uint8_t* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);
    const uint64_t plain = plainReadInteger(text);
    FUZZ_CHECK(textToInt64(text) == static_cast<int64_t>(plain));
    FUZZ_CHECK(textToInt32(text) == static_cast<int32_t>(static_cast<uint32_t>(plain)));

    const double number = textToNumber(text);
    FUZZ_CHECK(!std::isnan(number));
    // A text that reads as an integer of a few digits reads as the same double.
    const Text folded = numberToText(textToInt32(text));
    FUZZ_CHECK(textToNumber(folded) == static_cast<double>(textToInt32(text)));

    if (size >= sizeof(int64_t)) {
        const auto wide = readRaw<int64_t>(data);
        FUZZ_CHECK(textToInt64(numberToText(wide)) == wide);
        const auto narrow = readRaw<int32_t>(data);
        FUZZ_CHECK(textToInt32(numberToText(narrow)) == narrow);
        const auto real = readRaw<double>(data);
        const Text written = numberToText(real);
        FUZZ_CHECK(!written.empty() && written.size() < 32);
        if (std::isfinite(real)) {
            const double back = textToNumber(written);
            FUZZ_CHECK(std::fabs(back - real) <= std::fabs(real) * 1e-12);
            if (std::fabs(real) < 1e13 && real == std::trunc(real))
                FUZZ_CHECK(written.find_first_of(".e") == Text::npos);
        }
        const double divisor = textToNumber(text.substr(sizeof(int64_t)));
        const auto remainder = floatRemainder(real, divisor);
        FUZZ_CHECK(remainder.has_value() == (divisor != 0.0));
        if (remainder && std::isfinite(real) && std::isfinite(*remainder))
            FUZZ_CHECK(std::fabs(*remainder) < std::fabs(divisor));
    }
    return 0;
}
