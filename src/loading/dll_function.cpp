#include "loading/dll_function.h"

#include "ui/controls.h"

namespace {

constexpr const char* kStandardLibraries[] = {"kernel32.dll", "user32.dll", "gdi32.dll"};

FARPROC findIn(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace

FARPROC findDllFunction(const char* library, const char* name) {
    if (library) {
        if (FARPROC address = findIn(library, name)) return address;
        reportFatalError(0, Text("无法找到指定DLL库文件“") + library + "”中的输出命令“" + name + "”");
    }
    for (const char* standard : kStandardLibraries)
        if (FARPROC address = findIn(standard, name)) return address;
    reportFatalError(0, Text("无法找到指定DLL库文件中的输出命令“") + name + "”");
}
