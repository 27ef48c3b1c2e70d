#pragma once

#include <vector>

#include "convert/text.h"

// The module initialiser: starts GDI+, fills timeDimensionId and registers the "DavuzLoadDialog" class.
// Always returns 0.
int initLoadingAnimation();

// Does the work of initLoadingAnimation. Failures of the system calls go unnoticed; a second
// registration in the same process fails and leaves the first class as it was.
void registerLoadDialogClass();

// Starts GDI+ (version 1, no debug callback, with its background thread and external codecs) and keeps
// the token in gdiplusToken. Returns GdiplusStartup's status.
int startGraphics();

// The text in UTF-16 (code page 936) with its terminating zero, in a new buffer.
std::vector<wchar_t> toWideText(const Text& text);
