#include "ui/input_rule.h"

#include <cstdint>
#include <limits>
#include <string>

#include "convert/convert.h"

bool acceptsTypedCharacter(unsigned int code) {
    return code < 32 || code == '-' || (code >= '0' && code <= '9');
}

Text normaliseInput(const Text& text, InputRule rule) {
    int64_t value = plainTextToInt64(text);
    if (rule == InputRule::integer) {
        if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
        if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
    }
    if (value == 0) return {};
    return std::to_string(value);
}
