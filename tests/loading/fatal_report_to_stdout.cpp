// Stands in for the report box in the loading tests: a child process writes the code and the message
// to its standard output, where the parent reads them, and ends with the report's exit code -1.
#include <windows.h>

#include <string>

#include "ui/controls.h"

void reportFatalError(int32_t code, const Text& message) {
    const Text line = std::to_string(code) + "\n" + message;
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
              nullptr);
    ExitProcess(static_cast<UINT>(-1));
}
