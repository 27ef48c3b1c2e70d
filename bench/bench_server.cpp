#include "bench/bench_server.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "bench/data_page.h"
#include "support/loopback_server.h"

namespace {

constexpr wchar_t kServeArgument[] = L"--serve";

PROCESS_INFORMATION child{};
HANDLE childInput = nullptr;

bool isChild() {
    return std::wcsstr(GetCommandLineW(), kServeArgument) != nullptr;
}

Text startChild() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &childInput, &inherit, 0) ||
        !CreatePipe(&outputRead, &outputWrite, &inherit, 0))
        return {};
    SetHandleInformation(childInput, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);

    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(path) + L"\" " + kServeArgument;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    const bool started = CreateProcessW(path, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &child);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    Text port;
    char byte = 0;
    DWORD read = 0;
    while (started && ReadFile(outputRead, &byte, 1, &read, nullptr) && read == 1 && byte != '\n')
        port += byte;
    CloseHandle(outputRead);
    return port.empty() ? Text{} : "http://127.0.0.1:" + port;
}

}  // namespace

const Text& benchServerBase() {
    static const Text base = isChild() ? Text{} : startChild();
    return base;
}

int serveBenchPages() {
    const HttpReply data = LoopbackServer::reply(dataPage(kBenchRecords));
    const HttpReply time = LoopbackServer::reply(kBenchTimeBody);
    const HttpReply probe = LoopbackServer::reply("ok");
    LoopbackServer server([&](const HttpRequest& request) {
        if (request.path == "/special/time/") return time;
        if (request.path == "/probe/") return probe;
        return data;
    });
    std::printf("%u\n", static_cast<unsigned>(server.port()));
    std::fflush(stdout);
    char byte = 0;
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read == 1) {
    }
    return 0;
}

void stopBenchServer() {
    if (!child.hProcess) return;
    CloseHandle(childInput);
    if (WaitForSingleObject(child.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    child = {};
}
