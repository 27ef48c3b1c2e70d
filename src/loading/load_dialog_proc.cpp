#include "loading/load_dialog_proc.h"

#include "loading/dll_function.h"

namespace {

using GdipDisposeImageFunction = int WINAPI(void* image);

DllFunction<decltype(::GetPropA)> getProp{"user32.dll", "GetPropA"};
DllFunction<decltype(::DefWindowProcA)> defWindowProc{"user32.dll", "DefWindowProcA"};
DllFunction<decltype(::ReleaseCapture)> releaseCapture{"user32.dll", "ReleaseCapture"};
DllFunction<decltype(::SendMessageA)> sendMessage{"user32.dll", "SendMessageA"};
DllFunction<GdipDisposeImageFunction> gdipDisposeImage{"GdiPlus.dll", "GdipDisposeImage"};
DllFunction<decltype(::TerminateThread)> terminateThread{nullptr, "TerminateThread"};
DllFunction<decltype(::CloseHandle)> closeHandle{nullptr, "CloseHandle"};
DllFunction<decltype(::GlobalFree)> globalFree{nullptr, "GlobalFree"};

constexpr LONG_PTR kHitMoveOn = 1;

// The properties stay on the window: the system drops them with it.
LRESULT onDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HANDLE thread = getProp(window, "Davuz_Thread")) {
        terminateThread(thread, 0);
        closeHandle(thread);
    }
    if (HANDLE image = getProp(window, "Davuz_Image")) gdipDisposeImage(image);
    if (HANDLE stream = getProp(window, "Davuz_Stream")) globalFree(static_cast<HGLOBAL>(stream));
    return defWindowProc(window, message, wParam, lParam);
}

// A press anywhere acts as a press on the title bar: the system moves the window until the button is up.
LRESULT onLeftButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = defWindowProc(window, message, wParam, lParam);
    if (reinterpret_cast<LONG_PTR>(getProp(window, "DavuzHitMove")) == kHitMoveOn) {
        releaseCapture();
        sendMessage(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
    return result;
}

}  // namespace

LRESULT CALLBACK loadDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            return onDestroy(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            return onLeftButtonDown(window, message, wParam, lParam);
    }
    return defWindowProc(window, message, wParam, lParam);
}
