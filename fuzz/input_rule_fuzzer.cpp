// The input rules of totalInput and lastTimeInput: what a box shows after losing the focus is the empty
// text or a plain decimal without leading zeros, inside 32 bits for the integer rule, and leaving the box
// again changes nothing. For ASCII text the long-integer rule agrees with textToInt64.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/convert.h"
#include "fuzz/fuzz_input.h"
#include "ui/input_rule.h"

namespace {

bool isPlainDecimal(const Text& text) {
    size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (i == text.size() || text[i] == '0') return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

bool asciiOnly(const Text& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);
    for (InputRule rule : {InputRule::integer, InputRule::longInteger}) {
        const Text shown = normaliseInput(text, rule);
        FUZZ_CHECK(shown.empty() || isPlainDecimal(shown));
        FUZZ_CHECK(normaliseInput(shown, rule) == shown);
        if (rule == InputRule::integer)
            FUZZ_CHECK(numberToText(textToInt32(shown)) == (shown.empty() ? "0" : shown));
    }
    if (asciiOnly(text)) {
        const int64_t value = textToInt64(text);
        FUZZ_CHECK(normaliseInput(text, InputRule::longInteger) ==
                   (value == 0 ? Text{} : std::to_string(value)));
    }
    for (size_t i = 0; i < size; ++i) {
        const unsigned int code = data[i];
        FUZZ_CHECK(acceptsTypedCharacter(code) == (code < 32 || code == '-' || (code >= '0' && code <= '9')));
    }
    return 0;
}
