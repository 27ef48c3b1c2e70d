#pragma once

#include <windows.h>

// The class of the labels, which draw their caption themselves: one line, left-aligned, centred vertically,
// ampersands as themselves, in their own colour on the button face.
inline constexpr const wchar_t* kLabelClass = L"QelvoraLabel";

bool registerLabelClass(HINSTANCE instance);

// The label's text colour, kept with the window; a new colour repaints it.
void setLabelColour(HWND label, COLORREF colour);
COLORREF labelColour(HWND label);
