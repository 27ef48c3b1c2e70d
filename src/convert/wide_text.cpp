#include "convert/wide_text.h"

#include <windows.h>

namespace {
constexpr UINT kGbk = 936;
}

std::wstring toWide(const Text& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

Text fromWide(const wchar_t* wide, size_t length) {
    if (length == 0) return {};
    const int size =
        WideCharToMultiByte(kGbk, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    Text text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kGbk, 0, wide, static_cast<int>(length), text.data(), size, nullptr, nullptr);
    return text;
}

Text fromWide(const std::wstring& wide) {
    return fromWide(wide.data(), wide.size());
}
