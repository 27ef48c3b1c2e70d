#include "loading/dll_function.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/text.h"

namespace {

constexpr DWORD kSafetyWaitMs = 30000;  // only bounds a wait that a hanging child would make endless

struct ChildResult {
    DWORD exitCode = 0;
    Text output;
};

// Runs resolve_child, which lies beside this test program, and collects what it writes.
ChildResult runResolveChild(const std::wstring& arguments) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"resolve_child.exe";
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child);
    CloseHandle(writeEnd);
    EXPECT_TRUE(started) << "cannot start resolve_child.exe, error " << GetLastError();

    ChildResult result;
    if (started) {
        char chunk[256];
        DWORD read = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0)
            result.output.append(chunk, read);
        EXPECT_EQ(WaitForSingleObject(child.hProcess, kSafetyWaitMs), WAIT_OBJECT_0);
        GetExitCodeProcess(child.hProcess, &result.exitCode);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    CloseHandle(readEnd);
    return result;
}

TEST(DllFunction, CallsTheNamedFunctionWithItsArguments) {
    DllFunction<decltype(::lstrlenA)> length{"kernel32.dll", "lstrlenA"};
    EXPECT_EQ(length("Davuz"), 5);
    EXPECT_EQ(length(""), 0);  // the second call uses the address found by the first
}

TEST(DllFunction, FindsTheStandardLibrariesFunctionsWithoutALibraryName) {
    DllFunction<decltype(::GlobalSize)> globalSize{nullptr, "GlobalSize"};
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 24);
    ASSERT_TRUE(memory);
    EXPECT_EQ(globalSize(memory), 24u);
    GlobalFree(memory);
}

TEST(DllFunction, OpensALibraryThatIsNotLoadedYet) {
    ASSERT_FALSE(GetModuleHandleA("winmm.dll"));
    using StringToFourcc = DWORD WINAPI(const char* text, UINT flags);
    DllFunction<StringToFourcc> stringToFourcc{"winmm.dll", "mmioStringToFOURCCA"};
    EXPECT_EQ(stringToFourcc("RIFF", 0), 0x46464952u);
    EXPECT_TRUE(GetModuleHandleA("winmm.dll"));
}

// A missing function ends the process with the fatal report on its first call, not before.
TEST(DllFunction, AMissingFunctionOrLibraryIsAFatalErrorOnFirstUse) {
    struct Case {
        const wchar_t* arguments;
        DWORD exitCode;
        Text output;
    };
    for (const Case& c : {
             Case{L"kernel32.dll GetTickCount", 0, "constructed\ncalled\n"},
             Case{L"- GetCurrentThreadId", 0, "constructed\ncalled\n"},
             Case{L"kernel32.dll QelvoraNoSuchCommand", static_cast<DWORD>(-1),
                  "constructed\n0\n无法找到指定DLL库文件“kernel32.dll”中的输出命令“QelvoraNoSuchCommand”"},
             Case{L"qelvora_no_such_library.dll GetTickCount", static_cast<DWORD>(-1),
                  "constructed\n0\n无法找到指定DLL库文件“qelvora_no_such_library."
                  "dll”中的输出命令“GetTickCount”"},
             Case{L"- QelvoraNoSuchCommand", static_cast<DWORD>(-1),
                  "constructed\n0\n无法找到指定DLL库文件中的输出命令“QelvoraNoSuchCommand”"},
         }) {
        SCOPED_TRACE(std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        const ChildResult result = runResolveChild(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.output, c.output);
    }
}

}  // namespace
