#include "app/program.h"

#include <ole2.h>
#include <windows.h>

#include <cfenv>
#include <cstdlib>

#include "app/globals.h"
#include "loading/loading_animation.h"
#include "ui/controls.h"
#include "ui/keyboard.h"
#include "ui/main_window.h"

namespace {

bool globalsReleased = false;

// The exit routine. Shut-down runs it in its place in the order; the C library's exit then finds it done.
void releaseGlobalsOnce() {
    if (globalsReleased) return;
    globalsReleased = true;
    releaseGlobals();
}

void runModuleInitialisers() {
    initLoadingAnimation();
}

void runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {  // -1 is an error, not a message
        if (handleWindowKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int runProgram() {
    const HRESULT ole = OleInitialize(nullptr);
    std::fesetenv(FE_DFL_ENV);  // round to nearest, every floating-point exception masked
    initGlobals();
    std::atexit(releaseGlobalsOnce);
    runModuleInitialisers();
    if (!openMainWindow()) reportFatalError(0, "载入启动窗口失败");
    runMessageLoop();
    releaseGlobalsOnce();
    if (SUCCEEDED(ole)) OleUninitialize();
    return 0;
}
