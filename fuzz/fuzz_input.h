#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "convert/text.h"

// A fuzz input read as count texts: each but the last ends at a zero byte, the last takes the rest, zero
// bytes included. Fields that the input does not reach are empty.
inline std::vector<Text> splitFields(const uint8_t* data, size_t size, size_t count) {
    std::vector<Text> fields(count);
    const char* at = reinterpret_cast<const char*>(data);
    const char* end = at + size;
    for (size_t i = 0; i + 1 < count && at < end; ++i) {
        const char* stop = at;
        while (stop < end && *stop != '\0') ++stop;
        fields[i].assign(at, stop);
        at = stop < end ? stop + 1 : stop;
    }
    if (at < end) fields[count - 1].assign(at, end);
    return fields;
}

// A broken promise ends the run; libFuzzer keeps the input that broke it.
[[noreturn]] inline void finding(const char* check, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, check);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    if (!(condition)) finding(#condition, __FILE__, __LINE__)
