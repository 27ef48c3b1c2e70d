// The program under Wine as a person uses it, against the loopback servers of e2e/scenario.h.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "e2e/scenario.h"

namespace {

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
