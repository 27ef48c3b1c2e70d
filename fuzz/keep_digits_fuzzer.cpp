// keepDigits on the library backend: exactly the ASCII digits that stand as characters of their own, in
// order; a digit that is the second byte of a two-byte character is part of that character. The object's
// matches agree with it one by one.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "textutil/keep_digits.h"
#include "textutil/regex_object.h"
#include "textutil/text_search.h"

namespace {

Text plainDigits(const Text& text) {
    Text digits;
    for (size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(text[i])) {
            ++i;
        } else if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
        }
    }
    return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);
    const Text digits = keepDigits(text);
    FUZZ_CHECK(digits == plainDigits(text));

    RegexObject regex;
    FUZZ_CHECK(regex.execute("[0-9]", text));
    FUZZ_CHECK(regex.matchCount() == static_cast<int32_t>(digits.size()));
    for (int32_t index = 1; index <= regex.matchCount(); ++index) {
        int32_t start = -5;
        const Text match = regex.matchText(index, &start);
        FUZZ_CHECK(match.size() == 1 && match[0] == digits[static_cast<size_t>(index - 1)]);
        FUZZ_CHECK(start >= 0 && static_cast<size_t>(start) < text.size() &&
                   text[static_cast<size_t>(start)] == match[0]);
    }
    FUZZ_CHECK(regex.matchText(0).empty());
    FUZZ_CHECK(regex.matchText(regex.matchCount() + 1).empty());
    FUZZ_CHECK(regex.subMatchCount() == 0);
    FUZZ_CHECK(regex.getPattern() == "[0-9]");
    return 0;
}
