#include "loading/dll_function.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/text.h"
#include "convert/wide_text.h"

namespace {

constexpr DWORD kSafetyWaitMs = 30000;  // only bounds a wait that a hanging child would make endless
constexpr DWORD kPollMs = 50;

// What the user saw of the child's fatal report, and how the child ended.
struct ChildResult {
    Text output;
    bool reported = false;
    Text caption;
    Text report;
    DWORD exitCode = STILL_ACTIVE;
};

struct ProcessWindow {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findDialogOfProcess(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<ProcessWindow*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (owner != search.processId || std::wstring(className) != L"#32770") return TRUE;
    search.found = window;
    return FALSE;
}

// The message box that the report shows: a dialog of the process.
HWND findReportBox(DWORD processId) {
    ProcessWindow search{processId, nullptr};
    EnumWindows(findDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Text windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

// Runs resolve_child, which lies beside this test program, reads the report box it shows, closes it as the
// user would, and collects what the child wrote.
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
        for (DWORD waited = 0; waited < kSafetyWaitMs; waited += kPollMs) {
            if (WaitForSingleObject(child.hProcess, kPollMs) == WAIT_OBJECT_0) break;
            // The box is read once it is shown: until then it may still be filling in its texts.
            const HWND box = findReportBox(child.dwProcessId);
            if (box && IsWindowVisible(box) && !result.reported) {
                result.reported = true;
                result.caption = windowText(box);
                result.report = windowText(GetDlgItem(box, 0xFFFF));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        char chunk[256];
        DWORD read = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0)
            result.output.append(chunk, read);
        if (WaitForSingleObject(child.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 99);
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

// A missing library or function ends the process on the function's first call, not before, with the fatal
// report: its box shows the message with code 0 and, once closed, the process exits with -1.
TEST(DllFunction, AMissingFunctionOrLibraryIsAFatalErrorOnFirstUse) {
    struct Case {
        const wchar_t* arguments;
        Text message;  // empty: the function is there and is called
    };
    for (const Case& c : {
             Case{L"kernel32.dll GetTickCount", ""},
             Case{L"- GetCurrentThreadId", ""},
             Case{L"kernel32.dll QelvoraNoSuchCommand",
                  "无法找到指定DLL库文件“kernel32.dll”中的输出命令“QelvoraNoSuchCommand”"},
             Case{L"qelvora_no_such_library.dll GetTickCount",
                  "无法找到指定DLL库文件“qelvora_no_such_library.dll”中的输出命令“GetTickCount”"},
             Case{L"- QelvoraNoSuchCommand", "无法找到指定DLL库文件中的输出命令“QelvoraNoSuchCommand”"},
         }) {
        SCOPED_TRACE(fromWide(c.arguments));
        const ChildResult result = runResolveChild(c.arguments);
        if (c.message.empty()) {
            EXPECT_FALSE(result.reported);
            EXPECT_EQ(result.output, "constructed\ncalled\n");
            EXPECT_EQ(result.exitCode, 0u);
        } else {
            EXPECT_TRUE(result.reported);
            EXPECT_EQ(result.caption, "错误");
            EXPECT_EQ(result.report, "运行时出错!\r\n\r\n错误信息：" + c.message + "\r\n");
            EXPECT_EQ(result.output, "constructed\n");
            EXPECT_EQ(result.exitCode, static_cast<DWORD>(-1));
        }
    }
}

}  // namespace
