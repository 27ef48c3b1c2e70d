// Long runs in one process under Wine: 10,000 clock ticks and 1,000 retrievals with what-ifs, driven
// directly rather than by the timer, through the real fetchPage and the automation object behind keepDigits,
// against a loopback server. After a warm-up, memory, handles and GDI/USER objects must stay where they were.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "app/globals.h"
#include "clock/clock.h"
#include "fakes/fake_ui.h"
#include "net/fetch.h"
#include "net/urls.h"
#include "stats/handlers.h"
#include "stats/loopback_urls.h"
#include "stats/record_page.h"

namespace {

struct Usage {
    size_t privateBytes;
    DWORD handles;
    DWORD gdiObjects;
    DWORD userObjects;
};

// Wine answers 0 for the private bytes and the handle count. Then the memory is the working set, and the
// handles are measured by the slot a new handle takes: the lowest free one, which climbs while handles leak.
DWORD nextHandleSlot() {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const auto slot = static_cast<DWORD>(reinterpret_cast<uintptr_t>(event) / 4);
    CloseHandle(event);
    return slot;
}

Usage usage() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return {memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.WorkingSetSize,
            handles != 0 ? handles : nextHandleSlot(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

void print(const char* when, const Usage& u) {
    std::printf("%-28s private bytes %10lu  handles %5lu  GDI objects %4lu  USER objects %4lu\n", when,
                static_cast<unsigned long>(u.privateBytes), static_cast<unsigned long>(u.handles),
                static_cast<unsigned long>(u.gdiObjects), static_cast<unsigned long>(u.userObjects));
}

// What may come and go between two measurements without being a leak: the heap's own slack, and the
// handles the loopback server's thread and Winsock hold for a moment.
constexpr size_t kMemorySlack = 2u << 20;
constexpr DWORD kHandleSlack = 16;

// platformGrowth: what as many bare fetches took in the same process, which the handlers may take too.
void expectFlat(const Usage& before, const Usage& after, size_t platformGrowth = 0) {
    ASSERT_GT(before.privateBytes, 0u) << "no measure of the process's memory";
    ASSERT_GT(before.handles, 0u) << "no measure of the process's handles";
    EXPECT_LE(after.privateBytes, before.privateBytes + platformGrowth + kMemorySlack);
    EXPECT_LE(after.handles, before.handles + kHandleSlack);
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.userObjects, before.userObjects);
}

class LongRun : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::resetUi();
        initGlobals();
        fake::controls[Control::scheduleInput] = "never";
        fake::controls[Control::totalInput] = "1000";
        fake::controls[Control::lastTimeInput] = "203100000";
        const Text page = recordPage(kExampleRecords);
        loopbackServer().setHandler([this, page](const HttpRequest& request) {
            if (request.path != "/special/time/") return LoopbackServer::reply(page);
            const long long ms = 1717214400000LL + 1000LL * ticks_++;
            return LoopbackServer::reply("window.baidu_time(" + std::to_string(ms) + ");");
        });
    }
    void TearDown() override { releaseGlobals(); }

    std::atomic<long long> ticks_{0};
};

TEST_F(LongRun, TenThousandTicksKeepMemoryHandlesAndObjectsFlat) {
    for (int i = 0; i < 200; ++i) onClockTick();
    loopbackServer().clearRequests();
    // Wine's WinINet itself grows by about 1.5 MiB over 10,000 requests. As many bare fetches first show
    // what the platform takes, so that the ticks are held only to what they add on top of it.
    const Usage beforeFetches = usage();
    for (int i = 0; i < 10000; ++i) {
        fetchPage(timePageUrl);
        // The server's log of requests is the test's, not the program's, memory.
        if (i % 500 == 0) loopbackServer().clearRequests();
    }
    const Usage afterFetches = usage();
    print("bare fetches, before", beforeFetches);
    print("bare fetches, after 10,000", afterFetches);
    const size_t platformGrowth = afterFetches.privateBytes > beforeFetches.privateBytes
                                      ? afterFetches.privateBytes - beforeFetches.privateBytes
                                      : 0;
    ticks_ = 200;  // the clock goes on from where the warm-up left it

    const Usage before = usage();
    print("ticks, after warm-up", before);
    for (int i = 0; i < 10000; ++i) {
        onClockTick();
        if (i % 500 == 0) loopbackServer().clearRequests();
    }
    const Usage after = usage();
    print("ticks, after 10,000 more", after);
    EXPECT_EQ(fake::controls[Control::clockLabel], "14时49分59秒");  // the 10,200th second from noon
    EXPECT_TRUE(fake::messages.empty());
    expectFlat(before, after, platformGrowth);
}

TEST_F(LongRun, AThousandRetrievalsKeepMemoryHandlesAndObjectsFlat) {
    for (int i = 0; i < 50; ++i) {
        onViewData();
        onCompute();
    }
    loopbackServer().clearRequests();
    const Usage before = usage();
    print("retrievals, after warm-up", before);
    for (int i = 0; i < 1000; ++i) {
        onViewData();
        onCompute();
        if (i % 500 == 0) loopbackServer().clearRequests();
    }
    const Usage after = usage();
    print("retrievals, after 1,000 more", after);
    EXPECT_EQ(fake::controls[Control::recordView],
              fullReport("3", "203105512", "203041999", "609205751", "751", "10000752"));
    EXPECT_EQ(
        fake::controls[Control::whatIfView],
        "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n求和：406163752 + [203100000]\r\n    = 609263752\r\n"
        "取余：752\r\n\r\n结果：10000753");
    EXPECT_TRUE(fake::messages.empty());
    expectFlat(before, after);
}

}  // namespace
