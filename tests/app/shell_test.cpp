#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/fatal_cases.h"
#include "convert/wide_text.h"
#include "ui/fatal_error_report.h"
#include "ui/main_window.h"
#include "ui/ui_driver.h"

namespace {

// shell_child.exe run with a scenario, its standard output collected on a thread of its own.
class ChildProcess {
  public:
    explicit ChildProcess(const std::wstring& arguments) {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring program = path;
        program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"shell_child.exe";
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        HANDLE writeEnd = nullptr;
        CreatePipe(&readEnd_, &writeEnd, &inherit, 0);
        SetHandleInformation(readEnd_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
        std::wstring commandLine = L"\"" + program + L"\" " + arguments;
        started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process_);
        CloseHandle(writeEnd);
        reader_ = std::thread([this] {
            char buffer[512];
            DWORD read = 0;
            while (ReadFile(readEnd_, buffer, sizeof buffer, &read, nullptr) && read > 0)
                output_.append(buffer, read);
        });
    }
    ~ChildProcess() {
        if (started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        if (reader_.joinable()) reader_.join();
        CloseHandle(readEnd_);
        if (started_) {
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }

    bool started() const { return started_; }
    DWORD id() const { return process_.dwProcessId; }

    // Waits for the exit, bounded, and gives the exit code (STILL_ACTIVE if it did not end).
    DWORD exitCode() {
        WaitForSingleObject(process_.hProcess, 20000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    // The lines written, once the process has ended; timer ticks left out.
    std::vector<std::string> lines() {
        exitCode();
        if (reader_.joinable()) reader_.join();
        std::vector<std::string> result;
        std::istringstream in(output_);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line != "onClockTick") result.push_back(line);
        }
        return result;
    }

    std::string output() {
        lines();
        return output_;
    }

  private:
    HANDLE readEnd_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    std::thread reader_;
    std::string output_;
};

constexpr DWORD kFatalExitCode = static_cast<DWORD>(-1);

const std::vector<std::string> kStartUp = {"initLoadingAnimation", "onWindowCreated",   "fpu reset: yes",
                                           "ole initialised: yes", "window visible: 0", "records: 1"};

}  // namespace

TEST(Shell, EscFromAnyControlEndsWithExitCodeZeroAfterReleasingTheGlobals) {
    for (::Child control :
         {Child::recordView, Child::totalInput, Child::viewButton, Child::whatIfView, Child::scheduleInput}) {
        SCOPED_TRACE(static_cast<int>(control));
        ChildProcess child(L"run");
        ASSERT_TRUE(child.started());
        const HWND window = driver::findWindow(child.id(), kMainWindowClass);
        ASSERT_NE(window, nullptr);
        const HWND target = GetDlgItem(window, static_cast<int>(control) + 100);
        ASSERT_NE(target, nullptr);
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_EQ(child.exitCode(), 0u);
        std::vector<std::string> want = kStartUp;
        want.push_back("exit: globals released");
        EXPECT_EQ(child.lines(), want);
    }
}

TEST(Shell, CloseFromTheSystemMenuEndsWithExitCodeZero) {
    ChildProcess child(L"run");
    const HWND window = driver::findWindow(child.id(), kMainWindowClass);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(child.exitCode(), 0u);
    EXPECT_EQ(child.lines().back(), "exit: globals released");
}

TEST(Shell, FatalErrorShowsItsReportRunsNoHandlerAndExitsWithMinusOne) {
    for (size_t i = 0; i < std::size(kFatalCases); ++i) {
        const FatalCase& fatal = kFatalCases[i];
        SCOPED_TRACE(fatal.code);
        SCOPED_TRACE(fatal.message);
        ChildProcess child(L"fatal " + std::to_wstring(i));
        const HWND window = driver::findWindow(child.id(), kMainWindowClass);
        ASSERT_NE(window, nullptr);
        // Clicks and ticks that arrive while the report is open are dropped.
        const driver::SeenBox seen = driver::closeNextMessageBox(child.id(), window, [window] {
            PostMessageW(window, WM_TIMER, kClockTimerId, 0);
            PostMessageW(GetDlgItem(window, static_cast<int>(Child::viewButton) + 100), BM_CLICK, 0, 0);
            PostMessageW(GetDlgItem(window, static_cast<int>(Child::computeButton) + 100), BM_CLICK, 0, 0);
        });
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, toWide("错误"));
        EXPECT_EQ(seen.text, toWide(fatalErrorReport(fatal.code, fatal.message)));
        EXPECT_TRUE(seen.iconShown);
        EXPECT_EQ(seen.buttons, 1);
        EXPECT_TRUE(seen.okButton);
        EXPECT_EQ(seen.owner, nullptr);
        EXPECT_EQ(child.exitCode(), kFatalExitCode);
        // No handler after the report, and no exit routine: releaseGlobals does not run.
        EXPECT_EQ(child.lines(), (std::vector<std::string>{"onWindowCreated", "window open"}));
    }
}

TEST(Shell, ReportsOfTheShellsOwnFatalErrors) {
    struct Case {
        const wchar_t* scenario;
        const char* report;
    };
    const Case cases[] = {
        {L"no-window", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        {L"allocation", "运行时出错!\r\n\r\n错误信息：分配 4611686018427387904 字节内存失败!\r\n"},
        {L"index", "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fromWide(c.scenario));
        ChildProcess child(c.scenario);
        const driver::SeenBox seen = driver::closeNextMessageBox(child.id(), nullptr);
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, toWide("错误"));
        EXPECT_EQ(seen.text, toWide(c.report));
        EXPECT_EQ(child.exitCode(), kFatalExitCode);
        const std::string output = child.output();
        EXPECT_EQ(output.find("exit:"), std::string::npos) << output;
        EXPECT_EQ(output.find("allocated"), std::string::npos) << output;
    }
}
