#include "app/program.h"

#include <ole2.h>
#include <windows.h>

#include <float.h>

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
    // The floating-point unit as a fresh process has it: round to nearest, every exception masked.
    _fpreset();
    _controlfp(_RC_NEAR | _MCW_EM, _MCW_RC | _MCW_EM);
    initGlobals();
    std::atexit(releaseGlobalsOnce);
    runModuleInitialisers();
    if (!openMainWindow()) reportFatalError(0, "载入启动窗口失败");
    runMessageLoop();
    releaseGlobalsOnce();
    if (SUCCEEDED(ole)) OleUninitialize();
    return 0;
}
