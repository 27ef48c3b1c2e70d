// Calls one function without arguments through the loading module's resolver: resolve_child LIBRARY NAME,
// with "-" for the standard libraries. Writes "constructed" before the first call and "called" after it;
// a missing library or function ends in the program's own fatal report instead.
#include <cstring>

#include "loading/dll_function.h"

namespace {

void say(const char* line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(std::strlen(line)), &written,
              nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    DllFunction<void()> function{std::strcmp(argv[1], "-") == 0 ? nullptr : argv[1], argv[2]};
    say("constructed\n");
    function();
    say("called\n");
    return 0;
}
