// The program under Wine as a person uses it: qelvora_e2e.exe is qelvora built with loopback URLs
// (probe on 18491, data server on 18492, time page on 18493), and the servers run inside this test.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "e2e/driver.h"
#include "support/loopback_server.h"

namespace {

constexpr uint16_t kProbePort = 18491;
constexpr uint16_t kDataPort = 18492;
constexpr uint16_t kTimePort = 18493;

const Text kConnectionMessage = "网络连接失败，请检查网络连接！";
const Text kTotalMessage = "请输入本商品总需参与人次";
const Text kTooFewMessage = "购买记录不足两条，无法计算";
const Text kInfoCaption = "信息：";

// A time well inside a day, so that seconds advancing never wraps the day in a test.
constexpr int64_t kNoonMs = 1717214400000;  // 2024-06-01 12:00:00 Beijing time

// The clock text of a network time, worked out in whole seconds.
Text clockTextOf(int64_t ms) {
    int64_t seconds = ms / 1000 + 8 * 3600;
    seconds = ((seconds % 86400) + 86400) % 86400;
    return std::to_string(seconds / 3600) + "时" + std::to_string(seconds / 60 % 60) + "分" +
           std::to_string(seconds % 60) + "秒";
}

Text record(const Text& inner) {
    return "<li class=\"time\">" + inner + "</li>";
}

// The page of the worked example: four records, the first one not counted.
Text workedExamplePage() {
    return "<ul>" + record("2014-03-09 20:31:07.001") + "<li class=\"user\">a</li>" +
           record("2014-03-09 20:31:05.512") + record("2014-03-09 20:30:58.240") +
           record("2014-03-09 20:30:41.999") + "</ul>";
}

const Text kWorkedExampleReport =
    "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
    "...\r\n最前一位：203041999\r\n\r\n求和：609205751\r\n\r\n"
    "取余：751\r\n\r\n结果：10000752\r\n\r\n";

// The three servers the program talks to; each can be taken down and brought back.
class Network {
  public:
    Network() {
        probe_ = std::make_unique<LoopbackServer>(
            [](const HttpRequest&) { return LoopbackServer::reply("home"); }, kProbePort);
        data_ = std::make_unique<LoopbackServer>(
            [this](const HttpRequest&) {
                std::lock_guard lock(mutex_);
                return LoopbackServer::reply(dataPage_);
            },
            kDataPort);
        startTime();
    }

    void stopProbe() { probe_.reset(); }
    void stopTime() { time_.reset(); }
    void startTime() {
        time_ = std::make_unique<LoopbackServer>(
            [this](const HttpRequest&) {
                const int64_t ms = timeSource_ ? timeSource_() : kNoonMs;
                {
                    std::lock_guard lock(mutex_);
                    if (served_.empty()) {
                        HWND window = FindWindowW(L"QelvoraMainWindow", nullptr);
                        windowVisibleAtFirstTick_ = window && IsWindowVisible(window);
                    }
                    served_.push_back(ms);
                }
                return LoopbackServer::reply("<script>window.baidu_time(" + std::to_string(ms) +
                                             ");</script>");
            },
            kTimePort);
    }

    void setDataPage(const Text& page) {
        std::lock_guard lock(mutex_);
        dataPage_ = page;
    }
    // Decides the time of each answer of the time page; set before the program starts.
    void setTimeSource(std::function<int64_t()> source) { timeSource_ = std::move(source); }

    size_t dataRequests() const { return data_->requests().size(); }
    size_t probeRequests() const { return probe_ ? probe_->requests().size() : 0; }
    bool windowVisibleAtFirstTick() const {
        std::lock_guard lock(mutex_);
        return windowVisibleAtFirstTick_;
    }
    std::vector<int64_t> servedTimes() const {
        std::lock_guard lock(mutex_);
        return served_;
    }

  private:
    mutable std::mutex mutex_;
    Text dataPage_;
    std::vector<int64_t> served_;
    bool windowVisibleAtFirstTick_ = true;
    std::function<int64_t()> timeSource_;
    std::unique_ptr<LoopbackServer> probe_, data_, time_;
};

// Replaces the whole text of an edit box as a person would: to the end, erase, type.
void retype(Program& program, Role role, const Text& text) {
    program.focus(role);
    program.pressKey(VK_END);
    const size_t characters = [&] {
        size_t count = 0;
        const Text old = program.text(role);
        for (size_t i = 0; i < old.size(); ++i, ++count)
            if (static_cast<unsigned char>(old[i]) >= 0x80) ++i;
        return count;
    }();
    for (size_t i = 0; i < characters; ++i) program.pressKey(VK_BACK);
    program.waitForText(role, "", Millis(5000), "erasing");
    program.type(text);
    program.waitForText(role, text, Millis(5000), "typing");
}

// Runs a test body, turning a driver failure into a test failure that says which step failed.
template <typename Body>
void drive(Body body) {
    try {
        body();
    } catch (const DriverError& error) {
        FAIL() << error.what;
    }
}

TEST(EndToEnd, ChecksTheConnectionAndReadsTheClockBeforeTheWindowShowsThenFollowsTheTime) {
    drive([] {
        Network network;
        const auto started = Clock::now();
        network.setTimeSource([started] {
            return kNoonMs + std::chrono::duration_cast<Millis>(Clock::now() - started).count();
        });
        Program program;
        program.waitForWindow();
        program.waitUntilVisible();
        // The check and the first tick ran inside the creation handler, so the clock is filled the moment
        // the window shows.
        const Text first = program.text(Role::clockLabel);
        EXPECT_EQ(network.probeRequests(), 1u);
        ASSERT_FALSE(network.servedTimes().empty());
        EXPECT_FALSE(network.windowVisibleAtFirstTick());
        bool served = false;
        for (int64_t ms : network.servedTimes()) served = served || first == clockTextOf(ms);
        EXPECT_TRUE(served) << first;
        program.waitForText(
            Role::clockLabel, [&](const Text& t) { return t != first && t != "获取失败"; }, Millis(5000),
            "the clock moving on");
        EXPECT_GE(network.servedTimes().size(), 2u);
        EXPECT_EQ(program.text(Role::clockLabel).substr(0, 2), "12");
        program.pressKey(VK_ESCAPE);
        EXPECT_EQ(program.waitForExit(), 0u);
    });
}

TEST(EndToEnd, ReportsNoConnectionBeforeTheWindowAndRecoversWhenTheTimePageReturns) {
    drive([] {
        Network network;
        network.stopProbe();
        network.stopTime();
        Program program;
        const MessageBoxSeen box = program.expectMessageBox();
        EXPECT_EQ(box.caption, kInfoCaption);
        EXPECT_EQ(box.text, kConnectionMessage);
        EXPECT_FALSE(program.windowVisible());
        program.closeMessageBox();
        program.waitUntilVisible();
        program.waitForText(Role::clockLabel, "获取失败", Millis(5000), "the clock without a time page");
        network.startTime();
        program.waitForText(
            Role::clockLabel, [](const Text& t) { return t.substr(0, 2) == "12"; }, Millis(5000),
            "the clock once the time page is back");
    });
}

struct RetrievalCase {
    const char* name;
    Text page;
    Text total;  // typed into totalInput; empty leaves it empty
    Text report;
    Text message;  // the message box that follows, if any
};

TEST(EndToEnd, ViewDataWritesTheReportOfThePage) {
    const Text nines = record("2014-03-09 99:99:99.999");
    const RetrievalCase cases[] = {
        {"worked example", workedExamplePage(), "1000", kWorkedExampleReport, ""},
        {"empty total", workedExamplePage(), "", "3个用户的记录：\r\n\r\n", kTotalMessage},
        {"no records", "<html>nothing here</html>", "1000", "-1个用户的记录：\r\n\r\n", kTooFewMessage},
        {"one record", record("12:00:00.000"), "1000", "0个用户的记录：\r\n\r\n", kTooFewMessage},
        {"two records", record("1") + record("2014-03-09 20:31:05.512"), "1000",
         "1个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
         "...\r\n最前一位：203105512\r\n\r\n求和：203105512\r\n\r\n"
         "取余：512\r\n\r\n结果：10000513\r\n\r\n",
         ""},
        {"two-byte characters, a line break, long and short digits, leading zeros",
         record("x") + record("时间：2014年03月09日\r\n20:31:05.512") + record("12") + record("000001234"),
         "7",
         "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
         "...\r\n最前一位：000001234\r\n\r\n求和：203106758\r\n\r\n"
         "取余：1\r\n\r\n结果：10000002\r\n\r\n",
         ""},
        {"five records of 999999999", nines + nines + nines + nines + nines + nines, "1000",
         "5个用户的记录：\r\n\r\n最后一位：999999999\r\n  "
         "...\r\n最前一位：999999999\r\n\r\n求和：4999999995\r\n\r\n"
         "取余：995\r\n\r\n结果：10000996\r\n\r\n",
         ""},
    };
    Network network;
    for (const RetrievalCase& c : cases) {
        SCOPED_TRACE(c.name);
        drive([&] {
            network.setDataPage(c.page);
            Program program;
            program.waitUntilVisible();
            if (!c.total.empty()) {
                program.focus(Role::totalInput);
                program.type(c.total);
                program.waitForText(Role::totalInput, c.total, Millis(5000), "typing the total");
            }
            program.click(Role::viewButton);
            if (!c.message.empty()) {
                const MessageBoxSeen box = program.expectMessageBox();
                EXPECT_EQ(box.caption, kInfoCaption);
                EXPECT_EQ(box.text, c.message);
                EXPECT_EQ(program.text(Role::recordView), c.report);
                program.closeMessageBox();
            } else {
                program.waitForText(Role::recordView, c.report, Millis(10000), "the report");
                EXPECT_FALSE(program.waitForMessageBox(Millis(300)));
            }
            program.pressKey(VK_ESCAPE);
            EXPECT_EQ(program.waitForExit(), 0u);
        });
    }
}

TEST(EndToEnd, ComputeRefusesBeforeARetrievalThenWritesTheWhatIf) {
    drive([] {
        Network network;
        network.setDataPage(workedExamplePage());
        Program program;
        program.waitUntilVisible();
        program.click(Role::computeButton);
        const MessageBoxSeen box = program.expectMessageBox();
        EXPECT_EQ(box.text, "请先查看数据");
        program.closeMessageBox();
        EXPECT_EQ(program.text(Role::whatIfView), "");

        program.focus(Role::totalInput);
        program.type("1000");
        program.click(Role::viewButton);
        program.waitForText(Role::recordView, kWorkedExampleReport, Millis(10000), "the report");

        struct Case {
            Text input;
            Text report;
        };
        const Case cases[] = {
            {"203100000",
             "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n求和：406163752 + [203100000]\r\n    = "
             "609263752\r\n"
             "取余：752\r\n\r\n结果：10000753"},
            {"",
             "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n求和：406163752 + []\r\n    = 406163752\r\n"
             "取余：752\r\n\r\n结果：10000753"},
            {"-500000000",
             "最后：2个用户的记录 + 最后一个输入时间\r\n\r\n求和：406163752 + [-500000000]\r\n    = "
             "-93836248\r\n"
             "取余：-248\r\n\r\n结果：9999753"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.input);
            retype(program, Role::lastTimeInput, c.input);
            program.click(Role::computeButton);
            program.waitForText(Role::whatIfView, c.report, Millis(5000), "the what-if report");
        }
    });
}

TEST(EndToEnd, TheScheduleRunsTheRetrievalOnceForEachMatchingTick) {
    drive([] {
        Network network;
        network.setDataPage(workedExamplePage());
        // The time page answers noon until the test arms it; then it answers one minute later exactly once.
        std::atomic<bool> armed{false};
        constexpr int64_t kScheduledMs = kNoonMs + 60000;
        network.setTimeSource([&] { return armed.exchange(false) ? kScheduledMs : kNoonMs; });
        Program program;
        program.waitUntilVisible();
        retype(program, Role::scheduleInput, clockTextOf(kScheduledMs));
        // A 0 typed into the total keeps its focus, so no input rule clears it before the scheduled run.
        program.focus(Role::totalInput);
        program.type("0");
        program.waitForText(Role::totalInput, "0", Millis(5000), "typing 0");
        EXPECT_EQ(network.dataRequests(), 0u);

        armed = true;
        const MessageBoxSeen box = program.expectMessageBox(Millis(10000));
        EXPECT_EQ(box.text, kTotalMessage);
        EXPECT_EQ(program.text(Role::recordView),
                  "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
                  "...\r\n最前一位：203041999\r\n\r\n求和：609205751\r\n\r\n");
        program.closeMessageBox();
        pause(Millis(2500));
        EXPECT_EQ(network.dataRequests(), 1u);
        const auto served = network.servedTimes();
        EXPECT_EQ(std::count(served.begin(), served.end(), kScheduledMs), 1);
        EXPECT_EQ(program.text(Role::clockLabel), clockTextOf(kNoonMs));
    });
}

TEST(EndToEnd, EscapeAndTheCloseButtonEndTheProgramWithCodeZero) {
    drive([] {
        Network network;
        for (Role role : {Role::recordView, Role::totalInput, Role::whatIfView}) {
            Program program;
            program.waitUntilVisible();
            program.focus(role);
            program.pressKey(VK_ESCAPE);
            EXPECT_EQ(program.waitForExit(), 0u);
        }
        {
            // A button takes the focus by Tab: a click would press it.
            Program program;
            program.waitUntilVisible();
            program.focus(Role::recordView);
            program.pressKey(VK_TAB);
            for (auto until = Clock::now() + Millis(5000);
                 program.focused() != program.control(Role::viewButton);) {
                if (Clock::now() > until) throw DriverError{"tabbing to viewButton"};
                pause(Millis(25));
            }
            program.pressKey(VK_ESCAPE);
            EXPECT_EQ(program.waitForExit(), 0u);
        }
        Program program;
        program.waitUntilVisible();
        PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program.waitForExit(), 0u);
    });
}

}  // namespace
