#include "convert/convert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool isLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Full-width ASCII (A3 A1..A3 FE), the ideographic space, the wave dash and the two stars become ASCII;
// other two-byte characters stay as they are, and a lead byte with nothing after it is dropped.
Text foldFullWidth(const Text& text) {
    Text folded;
    folded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!isLeadByte(c)) {
            folded += c;
            continue;
        }
        if (i + 1 == text.size()) break;
        const auto lead = static_cast<unsigned char>(c);
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded += '*';
        } else {
            folded += static_cast<char>(lead);
            folded += static_cast<char>(trail);
        }
    }
    return folded;
}

size_t skipSpace(const Text& text, size_t i) {
    while (i < text.size() && isSpace(text[i])) ++i;
    return i;
}

size_t skipDigits(const Text& text, size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// Reads in unsigned arithmetic so that an overflow wraps modulo 2^64 without undefined behaviour.
uint64_t readInteger(const Text& text) {
    size_t i = skipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    return negative ? 0 - value : value;
}

}  // namespace

std::optional<double> leadingNumber(const Text& text) {
    const Text folded = foldFullWidth(text);
    // Only the decimal form counts: take the longest prefix of sign, digits, fraction and exponent,
    // so that words like "inf" or hexadecimal forms, which strtod also knows, read as no number.
    const size_t start = skipSpace(folded, 0);
    size_t i = start;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) ++i;
    const size_t intStart = i;
    i = skipDigits(folded, i);
    size_t digitCount = i - intStart;
    if (i < folded.size() && folded[i] == '.') {
        const size_t fracEnd = skipDigits(folded, i + 1);
        digitCount += fracEnd - i - 1;
        if (digitCount > 0) i = fracEnd;
    }
    if (digitCount == 0) return std::nullopt;
    if (i < folded.size() && (folded[i] == 'e' || folded[i] == 'E')) {
        size_t e = i + 1;
        if (e < folded.size() && (folded[e] == '+' || folded[e] == '-')) ++e;
        const size_t expEnd = skipDigits(folded, e);
        if (expEnd > e) i = expEnd;
    }
    const Text number = folded.substr(start, i - start);
    return std::strtod(number.c_str(), nullptr);
}

double textToNumber(const Text& text) {
    return leadingNumber(text).value_or(0.0);
}

int32_t textToInt32(const Text& text) {
    return static_cast<int32_t>(static_cast<uint32_t>(readInteger(foldFullWidth(text))));
}

int64_t textToInt64(const Text& text) {
    return static_cast<int64_t>(readInteger(foldFullWidth(text)));
}

int64_t plainTextToInt64(const Text& text) {
    return static_cast<int64_t>(readInteger(text));
}

Text numberToText(int32_t number) {
    return std::to_string(number);
}

Text numberToText(int64_t number) {
    return std::to_string(number);
}

Text numberToText(double number) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.13g", number);
    return Text(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::optional<double> floatRemainder(double dividend, double divisor) {
    if (divisor == 0.0) return std::nullopt;
    return std::fmod(dividend, divisor);
}
