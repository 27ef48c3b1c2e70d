// The figures that need Windows, measured under Wine in one process: keepDigits on the automation object,
// the retrieval and the clock tick beside a bare fetch of their page, and what memory, handles and window
// objects do over thousands of ticks and retrievals. Each figure is printed as a tab-separated line:
// figure, name, value, unit.
#include <windows.h>

#include <objbase.h>
#include <ole2.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <string>
#include "app/globals.h"
#include "bench/bench_server.h"
#include "bench/data_page.h"
#include "clock/clock.h"
#include "net/bytes_to_text.h"
#include "net/fetch.h"
#include "net/urls.h"
#include "stats/handlers.h"
#include "textutil/extract_all_between.h"
#include "textutil/keep_digits.h"
#include "ui/controls.h"
#include "ui/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

void print(const char* figure, const char* name, double value, const char* unit) {
    std::printf("%s\t%s\t%.6g\t%s\n", figure, name, value, unit);
    std::fflush(stdout);
}

// Lets the window paint and handle what the calls posted, as the message loop would between events.
void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double microseconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Two pieces of work measured in turns, so that both meet the same load; the medians in microseconds.
std::pair<double, double> alternate(int rounds, const std::function<void()>& first,
                                    const std::function<void()>& second) {
    std::vector<double> a;
    std::vector<double> b;
    for (int round = 0; round < rounds; ++round) {
        a.push_back(microseconds(first));
        b.push_back(microseconds(second));
        pump();
    }
    return {median(a), median(b)};
}

void keepDigitsFigures() {
    const ExtractionResult records = extractAllBetween(dataPage(kBenchRecords), kTimeLeft, kTimeRight);
    const double perRecord = alternate(
                                 30,
                                 [&] {
                                     for (const Text& record : records.texts) keepDigits(record);
                                 },
                                 [] {})
                                 .first /
                             static_cast<double>(records.texts.size());
    print("3", "keepDigits per record, automation object", perRecord, "us");

    // What the held class factory saves: a creation looked up by name each time against one from the factory.
    CLSID clsid;
    CLSIDFromProgID(L"VBScript.RegExp", &clsid);
    IClassFactory* factory = nullptr;
    CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory));
    const auto [cold, held] = alternate(
        200,
        [] {
            CLSID looked;
            IDispatch* object = nullptr;
            if (SUCCEEDED(CLSIDFromProgID(L"VBScript.RegExp", &looked)) &&
                SUCCEEDED(CoCreateInstance(looked, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object))))
                object->Release();
        },
        [&] {
            IDispatch* object = nullptr;
            if (factory && SUCCEEDED(factory->CreateInstance(nullptr, IID_PPV_ARGS(&object))))
                object->Release();
        });
    if (factory) factory->Release();
    print("3", "creation by name (CLSIDFromProgID + CoCreateInstance)", cold, "us");
    print("3", "creation from the held class factory", held, "us");
}

// Where the time of a retrieval goes: its steps one by one, as onViewData takes them.
void retrievalParts() {
    std::vector<double> fetch, extract, digits, writes;
    for (int round = 0; round < 50; ++round) {
        Text page;
        ExtractionResult records;
        fetch.push_back(microseconds([&] { page = bytesToText(fetchPage(dataServerUrl)); }));
        extract.push_back(microseconds([&] { records = extractAllBetween(page, kTimeLeft, kTimeRight); }));
        digits.push_back(microseconds([&] {
            for (size_t i = 1; i < records.texts.size(); ++i) keepDigits(records.texts[i]);
        }));
        writes.push_back(microseconds([&] {
            setControlText(Control::recordView, "99个用户的记录：\r\n\r\n");
            for (int line = 0; line < 5; ++line)
                setControlText(Control::recordView,
                               getControlText(Control::recordView) + "求和：609205751\r\n");
        }));
        pump();
    }
    print("4", "  of which fetchPage and bytesToText", median(fetch), "us");
    print("4", "  of which extractAllBetween", median(extract), "us");
    print("4", "  of which keepDigits of records 2 to 100", median(digits), "us");
    print("4", "  of which the six writes of recordView", median(writes), "us");
    // One write of a multi-line edit, with the window shown and hidden: under Wine on Xvfb the shown one
    // waits for the display.
    const HWND view = childWindow(Child::recordView);
    const std::wstring report = L"99\r\n\r\n123456789\r\n  ...\r\n123456789\r\n\r\n";
    std::vector<double> shown, hidden;
    for (int round = 0; round < 20; ++round) {
        shown.push_back(microseconds([&] { SetWindowTextW(view, report.c_str()); }));
        pump();
    }
    ShowWindow(mainWindow(), SW_HIDE);
    for (int round = 0; round < 20; ++round) {
        hidden.push_back(microseconds([&] { SetWindowTextW(view, report.c_str()); }));
        pump();
    }
    ShowWindow(mainWindow(), SW_SHOW);
    pump();
    print("4", "  one SetWindowTextW of recordView, window shown", median(shown), "us");
    print("4", "  one SetWindowTextW of recordView, window hidden", median(hidden), "us");
}

void handlerFigures() {
    const auto [fetchData, viewData] = alternate(
        200, [] { fetchPage(dataServerUrl); }, [] { onViewData(); });
    print("4", "fetchPage of the 100-record data page", fetchData, "us");
    print("4", "onViewData of the 100-record data page", viewData, "us");
    retrievalParts();
    const auto [fetchTime, tick] = alternate(
        500, [] { fetchPage(timePageUrl); }, [] { onClockTick(); });
    print("4", "fetchPage of the time page", fetchTime, "us");
    print("4", "onClockTick", tick, "us");
}

// Wine answers GetGuiResources with 0, GetProcessHandleCount with 0 and leaves PrivateUsage empty, so
// each count has a second way that works there too.

// The commit charge: PrivateUsage, or PagefileUsage, which Windows fills with the same figure.
double privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    return static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
}

// Kernel handles are multiples of four; every value that has handle information is an open handle.
double handleCount() {
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles) return handles;
    DWORD flags = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++handles;
    }
    return handles;
}

// The GDI handle table that the system maps into every process (its address in the process block), one
// 24-byte cell a handle: a cell with a type is an object, this process's when it names this process or, as
// Wine's table and the stock objects do, no owner.
double gdiObjectCount() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    using QueryProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return 0;
    const auto* process = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const unsigned char* const*>(process + 0xF8);
    if (!table) return 0;
    const auto self = static_cast<uint16_t>(GetCurrentProcessId());
    double objects = 0;
    for (size_t cell = 0; cell < 0x10000; ++cell) {
        const unsigned char* entry = table + cell * 24;
        uint16_t owner = 0;
        std::memcpy(&owner, entry + 8, sizeof owner);
        if (entry[14] != 0 && (owner == self || owner == 0)) ++objects;
    }
    return objects;
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<double*>(count);
    return TRUE;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<double*>(count);
    EnumChildWindows(window, countChild, count);
    return TRUE;
}

// The windows of this thread, which are the USER objects that the handlers could leave behind.
double userObjectCount() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return count;
    double windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

struct Usage {
    double privateBytes;
    double handles;
    double gdiObjects;
    double userObjects;
};

Usage usage() {
    return {privateBytes(), handleCount(), gdiObjectCount(), userObjectCount()};
}

void memoryFigures() {
    constexpr int kTicks = 10000;
    constexpr int kTicksPerRetrieval = 10;
    constexpr int kWarmTicks = 1000;
    Usage warm{};
    for (int tick = 1; tick <= kTicks; ++tick) {
        onClockTick();
        if (tick % kTicksPerRetrieval == 0) onViewData();
        pump();
        if (tick == kWarmTicks) warm = usage();
    }
    const Usage end = usage();
    print("5", "private bytes after 1000 ticks and 100 retrievals", warm.privateBytes, "bytes");
    print("5", "private bytes after 10000 ticks and 1000 retrievals", end.privateBytes, "bytes");
    print("5", "handles after 1000 ticks and 100 retrievals", warm.handles, "");
    print("5", "handles after 10000 ticks and 1000 retrievals", end.handles, "");
    print("5", "GDI objects after 1000 ticks and 100 retrievals", warm.gdiObjects, "");
    print("5", "GDI objects after 10000 ticks and 1000 retrievals", end.gdiObjects, "");
    print("5", "USER objects after 1000 ticks and 100 retrievals", warm.userObjects, "");
    print("5", "USER objects after 10000 ticks and 1000 retrievals", end.userObjects, "");

    // Which part grows: each on its own, after its own warm-up, as often as in the run above.
    const auto growth = [](int warmRounds, int rounds, const std::function<void()>& work) {
        for (int round = 0; round < warmRounds; ++round) work();
        const double before = privateBytes();
        for (int round = 0; round < rounds; ++round) work();
        return privateBytes() - before;
    };
    const ExtractionResult records = extractAllBetween(dataPage(kBenchRecords), kTimeLeft, kTimeRight);
    print("5", "private bytes growth of 9000 more bare fetchPage calls",
          growth(1000, 9000, [] { fetchPage(timePageUrl); }), "bytes");
    print("5", "private bytes growth of 90000 more keepDigits calls",
          growth(100, 900,
                 [&] {
                     for (const Text& record : records.texts) keepDigits(record);
                 }),
          "bytes");
    print("5", "private bytes growth of 900 more writes of recordView",
          growth(100, 900,
                 [] {
                     setControlText(Control::recordView, "99个用户的记录：\r\n\r\n");
                     pump();
                 }),
          "bytes");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--serve") return serveBenchPages();
    if (benchServerBase().empty()) {
        std::fprintf(stderr, "win_bench: the loopback server did not start\n");
        return 1;
    }
    // As the program starts: OLE on this thread, the shared state, the window with its controls.
    OleInitialize(nullptr);
    initGlobals();
    if (!openMainWindow()) {
        std::fprintf(stderr, "win_bench: mainWindow could not be created\n");
        stopBenchServer();
        return 1;
    }
    // The benchmark drives the handlers itself; ticks of the window's own timer would mix in.
    KillTimer(mainWindow(), kClockTimerId);
    setControlText(Control::totalInput, "1000");
    pump();

    keepDigitsFigures();
    handlerFigures();
    if (!(argc > 1 && std::string_view(argv[1]) == "--quick")) memoryFigures();

    DestroyWindow(mainWindow());
    pump();
    releaseGlobals();
    OleUninitialize();
    stopBenchServer();
    return 0;
}
