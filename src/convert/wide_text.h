#pragma once

#include <string>

#include "convert/text.h"

// GBK <-> UTF-16 at the Win32 and COM boundary, always with code page 936, whatever the system's code page,
// so that the Chinese texts come out right on any Windows. Windows only.
std::wstring toWide(const Text& text);
Text fromWide(const std::wstring& wide);
Text fromWide(const wchar_t* wide, size_t length);
