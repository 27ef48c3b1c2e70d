#include "ui/fatal_error.h"

#include <windows.h>

#include <charconv>
#include <cstdlib>

#include "convert/wide_text.h"
#include "ui/controls.h"
#include "ui/fatal_error_report.h"
#include "ui/main_window.h"

namespace {

bool stopped = false;

// Kept from the start and freed when memory runs out, so that the report can still be built and shown.
void* memoryReserve = std::malloc(64 * 1024);

[[noreturn]] void endProcess() {
    // TerminateProcess rather than exit(): the exit routine, releaseGlobals, must not run.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(-1));
    ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

bool handlersStopped() {
    return stopped;
}

void reportFatalError(int32_t code, const Text& message) {
    if (stopped) endProcess();  // a failure while the report is being made ends the process at once
    stopped = true;
    if (const HWND window = mainWindow()) EnableWindow(window, FALSE);
    // A quit message already posted would close the report before the user has seen it.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    MessageBoxW(nullptr, toWide(fatalErrorReport(code, message)).c_str(), toWide("错误").c_str(),
                MB_OK | MB_ICONERROR);
    endProcess();
}

void reportAllocationFailure(size_t size) {
    std::free(memoryReserve);
    memoryReserve = nullptr;
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, size).ptr;
    reportFatalError(0, "分配 " + Text(digits, end) + " 字节内存失败!");
}
