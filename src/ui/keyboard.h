#pragma once

#include <windows.h>

// Looks at a message before it is dispatched and handles the keys of mainWindow that are not the
// controls' own: Tab moves along the cycle, Esc closes the window, Enter and F1 do nothing except Enter
// in whatIfView. Returns true when the message is used up.
bool handleWindowKey(const MSG& msg);

// The control that Tab moves to from `from` (recordView when the focus is outside the cycle);
// hidden and disabled controls are passed over.
HWND nextInTabCycle(HWND from);
