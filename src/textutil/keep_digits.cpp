#include "textutil/keep_digits.h"

#include "textutil/regex_object.h"

namespace {
constexpr char digitPattern[] = "[0-9]";
}

Text keepDigits(const Text& sourceText) {
    RegexObject regex;
    regex.execute(digitPattern, sourceText);
    Text digits;
    const int32_t count = regex.matchCount();
    for (int32_t index = 1; index <= count; ++index) digits += regex.matchText(index);
    return digits;
}
