// The program's shell in a process of its own, with recording handlers, so that a test can watch the
// start-up order, the exit code and what runs after a fatal error. The first argument picks the scenario.
#include <ole2.h>
#include <windows.h>

#include <float.h>

#include <cfenv>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/fatal_cases.h"
#include "app/globals.h"
#include "app/program.h"
#include "app/record_at.h"
#include "ui/controls.h"
#include "ui/handler_doubles.h"
#include "ui/main_window.h"

namespace {

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Runs after releaseGlobals at a normal exit (exit routines run in reverse order of registration).
void reportStateAtExit() {
    const bool released = dataPageText.empty() && earliestTail.empty() && recordDigits.empty() &&
                          !timeDimensionId && timeRecords.texts.empty() && timeRecords.offsets.empty();
    say(released ? "exit: globals released" : "exit: globals kept");
}

void describeStart() {
    const bool fpuReset = std::fegetround() == FE_TONEAREST && (_controlfp(0, 0) & _MCW_EM) == _MCW_EM;
    say(std::string("fpu reset: ") + (fpuReset ? "yes" : "no"));
    const HRESULT ole = OleInitialize(nullptr);  // S_FALSE: already initialised on this thread
    say(std::string("ole initialised: ") + (ole == S_FALSE ? "yes" : "no"));
    if (SUCCEEDED(ole)) OleUninitialize();
    say("window visible: " + std::to_string(IsWindowVisible(mainWindow()) ? 1 : 0));
    say("records: " + std::to_string(timeRecords.texts.size()));
    // State for the exit routine to release.
    dataPageText = "page";
    earliestTail = "123";
    timeDimensionId = std::make_unique<std::array<unsigned char, 16>>();
}

LRESULT CALLBACK refuseCreation(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_NCCREATE ? FALSE : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    doubles::echo = true;
    std::atexit(reportStateAtExit);
    if (scenario == "run") {
        // A state for start-up to reset: rounding toward zero, division by zero unmasked.
        _controlfp(_RC_CHOP, _MCW_RC);
        _controlfp(_MCW_EM & ~_EM_ZERODIVIDE, _MCW_EM);
        doubles::whenWindowCreated = describeStart;
        return runProgram();
    }
    if (scenario == "no-window") {
        // The class name is taken by a class whose windows refuse to be created.
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = refuseCreation;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWindowClass;
        RegisterClassExW(&wc);
        return runProgram();
    }
    if (scenario == "fatal" && argc > 2) {
        const FatalCase& fatal = kFatalCases[std::atoi(argv[2])];
        openMainWindow();
        say("window open");
        reportFatalError(fatal.code, fatal.message);
    }
    if (scenario == "allocation") {
        openMainWindow();
        say("window open");
        volatile size_t huge = size_t{1} << 62;  // volatile: the allocation must not be left out
        char* memory = new char[huge];
        say("allocated " + std::to_string(reinterpret_cast<uintptr_t>(memory)));  // not reached
        delete[] memory;
    }
    if (scenario == "index") {
        initGlobals();
        openMainWindow();
        say("window open");
        say(recordAt(timeRecords, 2));
    }
    return 3;
}
