// The clock on Windows: the real connection check and fetchPage over WinINet, and through a matching
// schedule the retrieval with the automation object's keepDigits, against one loopback server that plays
// the time page, the data server and the probe page. The window is the recording one of the fakes.
#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "clock/clock.h"
#include "fakes/fake_ui.h"
#include "stats/loopback_urls.h"
#include "stats/record_page.h"

namespace {

class ClockOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::resetUi();
        initGlobals();
        before_ = loopbackServer().requests().size();
    }

    // The time page answers with the given body, the data server with two records.
    static void serve(const Text& timeBody, const Text& timeStatus = "200 OK") {
        loopbackServer().setHandler([=](const HttpRequest& request) {
            if (request.path == "/special/time/") return LoopbackServer::reply(timeBody, timeStatus);
            if (request.path == "/") {
                return LoopbackServer::reply(
                    "<li class=\"time\">2024-06-01 00:08:37.100</li><li class=\"time\">2024-06-01 "
                    "00:08:36.900</li>");
            }
            return LoopbackServer::reply("probe");
        });
    }

    // The paths asked for since the test began.
    std::vector<Text> paths() const {
        std::vector<Text> asked;
        const auto requests = loopbackServer().requests();
        for (size_t i = before_; i < requests.size(); ++i) asked.push_back(requests[i].path);
        return asked;
    }

  private:
    size_t before_ = 0;
};

TEST_F(ClockOnWindows, AMatchingTickShowsTheTimeAndRunsTheRetrieval) {
    serve("<script>window.baidu_time(1717171717171);</script>");
    fake::controls[Control::scheduleInput] = "0时8分37秒";
    fake::controls[Control::totalInput] = "1000";
    onClockTick();

    EXPECT_EQ(fake::controls[Control::clockLabel], "0时8分37秒");
    EXPECT_EQ(paths(), (std::vector<Text>{"/special/time/", "/"}));
    EXPECT_EQ(fake::controls[Control::recordView],
              fullReport("1", "000836900", "000836900", "836900", "900", "10000901"));
}

TEST_F(ClockOnWindows, AnUnreadablePageShowsAFailureAndMatchesNoSchedule) {
    fake::controls[Control::scheduleInput] = "8时0分0秒";
    for (const char* status : {"404 Not Found", "200 OK"}) {
        SCOPED_TRACE(status);
        serve("<html>no time here</html>", status);
        onClockTick();
        EXPECT_EQ(fake::controls[Control::clockLabel], "获取失败");
    }
    EXPECT_EQ(paths(), (std::vector<Text>{"/special/time/", "/special/time/"}));
}

TEST_F(ClockOnWindows, WindowCreatedChecksTheConnectionThenReadsTheClock) {
    serve("window.baidu_time(1717218309000)");
    onWindowCreated();

    EXPECT_EQ(fake::controls[Control::clockLabel], "13时5分9秒");
    EXPECT_TRUE(fake::messages.empty());
    const std::vector<Text> asked = paths();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), "/special/time/");
}

}  // namespace
