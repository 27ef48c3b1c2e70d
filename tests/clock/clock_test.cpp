#include "clock/clock.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "fakes/fake_net.h"
#include "fakes/fake_ui.h"
#include "net/urls.h"
#include "stats/handler_test.h"

namespace {

constexpr char kReadFailed[] = "获取失败";

Text timePage(const Text& inside) {
    return "<script>window.baidu_time(" + inside + ");</script>";
}

class Clock : public HandlerTest {
  protected:
    // The times the data page was fetched, that is, how often the scheduled retrieval ran.
    static size_t retrievals() {
        size_t count = 0;
        for (const Text& url : fake::fetched) count += url == dataServerUrl;
        return count;
    }

    static Text tick(const Text& page) {
        fake::setPage(timePageUrl, page);
        onClockTick();
        return fake::controls[Control::clockLabel];
    }
};

TEST_F(Clock, ShowsTheBeijingTimeOfDayOfEveryReadablePage) {
    fake::controls[Control::scheduleInput] = "no time";
    struct Case {
        Text page;
        Text clock;
    };
    for (const Case& c : {
             Case{timePage("1717171717171"), "0时8分37秒"},
             Case{timePage("1700000000999"), "6时13分20秒"},  // the 999 ms are dropped, not rounded
             Case{timePage("1717171200000"), "0时0分0秒"}, Case{timePage("1717218309000"), "13时5分9秒"},
             Case{timePage("-1500"), "7时59分59秒"}, Case{timePage("2147483647000"), "11时14分7秒"},
             Case{timePage("2147483648000"), "4时45分52秒"},  // wraps to 1901-12-14
             Case{timePage("0"), "8时0分0秒"}, Case{timePage(".5"), "8时0分0秒"},
             Case{"<script>WINDOW.BAIDU_TIME(1717171717171);</script>", "0时8分37秒"},
             Case{"x) window.baidu_time(1717171200000) window.baidu_time(1717171717171)", "0时0分0秒"},
             Case{timePage(" \t\r\n1717171717171"), "0时8分37秒"},
             Case{timePage("1717171717171abc"), "0时8分37秒"},
             Case{timePage("1717171717171.9e0"), "0时8分37秒"},
             Case{timePage("+1.717171717171e12"), "0时8分37秒"},
             Case{timePage("　１７１７１７１７１７１７１"),
                  "0时8分37秒"},  // full width, as textToNumber reads it
         }) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(tick(c.page), c.clock);
    }
    EXPECT_EQ(retrievals(), 0u);
    EXPECT_TRUE(fake::messages.empty());
}

TEST_F(Clock, AnUnreadablePageShowsAFailureAndRunsNoRetrieval) {
    // The schedule that a failure would have matched had it shown the epoch's 8时0分0秒.
    fake::controls[Control::scheduleInput] = "8时0分0秒";
    struct Case {
        const char* name;
        bool served;
        Text page;
    };
    for (const Case& c :
         {Case{"nothing fetched", false, ""}, Case{"empty body", true, ""},
          Case{"no marker", true, "<html>1717171717171</html>"},
          Case{"no ) after the marker", true, ") window.baidu_time(1717171717171;"},
          Case{"nothing between the markers", true, timePage("")},
          Case{"letters between the markers", true, timePage("abc1717171717171")},
          Case{"a sign alone", true, timePage("-")}, Case{"blanks alone", true, timePage("  ")},
          Case{"a point alone", true, timePage(".")},
          Case{"too large for a double", true, timePage("1e999")}}) {
        SCOPED_TRACE(c.name);
        fake::resetNet();
        fake::controls[Control::clockLabel] = "0时0分0秒";
        if (c.served) fake::setPage(timePageUrl, c.page);
        onClockTick();
        EXPECT_EQ(fake::controls[Control::clockLabel], kReadFailed);
        EXPECT_EQ(fake::fetched, std::vector<Text>{timePageUrl});
    }
    EXPECT_EQ(fake::controls[Control::recordView], "");
}

TEST_F(Clock, AMatchingClockRunsTheRetrievalOnceAfterTheCaptionIsSet) {
    fake::controls[Control::scheduleInput] = "0时8分37秒";
    fake::setPage(dataServerUrl, "<li class=\"time\">1</li><li class=\"time\">2</li>");
    // With no total the retrieval stops at its message; the clock must already show the time then.
    Text captionDuringRetrieval;
    fake::whileMessageBoxOpen = [&](const Text&) {
        captionDuringRetrieval = fake::controls[Control::clockLabel];
    };
    tick(timePage("1717171717171"));
    EXPECT_EQ(fake::fetched, (std::vector<Text>{timePageUrl, dataServerUrl}));
    EXPECT_EQ(captionDuringRetrieval, "0时8分37秒");
    EXPECT_EQ(fake::controls[Control::recordView], "1个用户的记录：\r\n\r\n");
    EXPECT_EQ(fake::messages, std::vector<Text>{"请输入本商品总需参与人次"});
}

TEST_F(Clock, TheScheduleMatchesOnlyTheClockTextByteForByte) {
    struct Case {
        Text schedule;
        size_t runs;
    };
    for (const Case& c :
         {Case{"13时5分9秒", 1}, Case{"13时05分09秒", 0}, Case{" 13时5分9秒", 0}, Case{"13时5分9秒 ", 0},
          Case{"１３时５分９秒", 0}, Case{"13时5分10秒", 0}, Case{"", 0}}) {
        SCOPED_TRACE(c.schedule);
        fake::resetNet();
        fake::controls[Control::scheduleInput] = c.schedule;
        EXPECT_EQ(tick(timePage("1717218309000")), "13时5分9秒");
        EXPECT_EQ(retrievals(), c.runs);
    }
}

TEST_F(Clock, TheStartingScheduleRunsAtBeijingMidnight) {
    ASSERT_EQ(fake::controls[Control::scheduleInput], "0时0分0秒");
    tick(timePage("1717171199000"));
    EXPECT_EQ(retrievals(), 0u);
    tick(timePage("1717171200000"));
    EXPECT_EQ(retrievals(), 1u);
    tick(timePage("1717171200999"));  // a second tick in the same second runs it again
    EXPECT_EQ(retrievals(), 2u);
    tick(timePage("1717171201000"));
    EXPECT_EQ(retrievals(), 2u);
}

TEST_F(Clock, AChangedScheduleTakesEffectAtTheNextTick) {
    fake::controls[Control::scheduleInput] = "0时8分36秒";
    tick(timePage("1717171717171"));
    EXPECT_EQ(retrievals(), 0u);
    fake::controls[Control::scheduleInput] = "0时8分37秒";
    tick(timePage("1717171717171"));
    EXPECT_EQ(retrievals(), 1u);
}

TEST_F(Clock, WindowCreatedReadsTheClockOnceWhenConnected) {
    fake::setPage(timePageUrl, timePage("1717171717171"));
    onWindowCreated();
    EXPECT_EQ(fake::controls[Control::clockLabel], "0时8分37秒");
    EXPECT_EQ(fake::fetched, std::vector<Text>{timePageUrl});
    EXPECT_TRUE(fake::messages.empty());
}

TEST_F(Clock, WindowCreatedWithoutAConnectionOnlySaysSo) {
    fake::connected = false;
    fake::setPage(timePageUrl, timePage("1717171717171"));
    onWindowCreated();
    EXPECT_EQ(fake::messages, std::vector<Text>{"网络连接失败，请检查网络连接！"});
    EXPECT_EQ(fake::controls[Control::clockLabel], "时间显示区");
    EXPECT_TRUE(fake::fetched.empty());
}

}  // namespace
