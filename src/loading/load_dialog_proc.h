#pragma once

#include <windows.h>

// The window procedure of the "DavuzLoadDialog" class. On WM_DESTROY it ends the thread, disposes of the
// image and frees the memory that the window's properties "Davuz_Thread", "Davuz_Image" and "Davuz_Stream"
// name; on a left-button press it drags the window when "DavuzHitMove" is exactly 1.
LRESULT CALLBACK loadDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
