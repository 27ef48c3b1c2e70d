#pragma once

#include <cstdint>

// The fatal errors that shell_child reports on request, by index, so that no Chinese text has to cross
// a command line in whatever code page the system has.
struct FatalCase {
    int32_t code;
    const char* message;
};

inline constexpr FatalCase kFatalCases[] = {
    {0, ""},
    {0, "不能求余数于零"},
    {7, ""},
    {-5, "一个很长的错误信息，带有标点！"},
};
