#pragma once

// What the end-to-end tests share: qelvora_e2e.exe is qelvora built with loopback URLs (probe on 18491,
// data server on 18492, time page on 18493), and the servers run inside the test program.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "support/loopback_server.h"

inline constexpr uint16_t kProbePort = 18491;
inline constexpr uint16_t kDataPort = 18492;
inline constexpr uint16_t kTimePort = 18493;

inline const Text kConnectionMessage = "网络连接失败，请检查网络连接！";
inline const Text kTotalMessage = "请输入本商品总需参与人次";
inline const Text kTooFewMessage = "购买记录不足两条，无法计算";
inline const Text kInfoCaption = "信息：";
inline const Text kClockFailedText = "获取失败";

// A time well inside a day, so that seconds advancing never wraps the day in a test.
inline constexpr int64_t kNoonMs = 1717214400000;  // 2024-06-01 12:00:00 Beijing time

// The clock text of a network time, worked out in whole seconds.
inline Text clockTextOf(int64_t ms) {
    int64_t seconds = ms / 1000 + 8 * 3600;
    seconds = ((seconds % 86400) + 86400) % 86400;
    return std::to_string(seconds / 3600) + "时" + std::to_string(seconds / 60 % 60) + "分" +
           std::to_string(seconds % 60) + "秒";
}

inline Text record(const Text& inner) {
    return "<li class=\"time\">" + inner + "</li>";
}

// The page of the worked example: four records, the first one not counted.
inline Text workedExamplePage() {
    return "<ul>" + record("2014-03-09 20:31:07.001") + "<li class=\"user\">a</li>" +
           record("2014-03-09 20:31:05.512") + record("2014-03-09 20:30:58.240") +
           record("2014-03-09 20:30:41.999") + "</ul>";
}

inline const Text kWorkedExampleReport =
    "3个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
    "...\r\n最前一位：203041999\r\n\r\n求和：609205751\r\n\r\n"
    "取余：751\r\n\r\n结果：10000752\r\n\r\n";

// The three servers the program talks to; each can be taken down and brought back, and the data server
// and the time page can be made to answer a fault instead of their page.
class Network {
  public:
    Network() {
        probe_ = std::make_unique<LoopbackServer>(
            [](const HttpRequest&) { return LoopbackServer::reply("home"); }, kProbePort);
        startData();
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
                    if (timeFault_) return *timeFault_;
                    if (served_.empty()) {
                        HWND window = FindWindowW(L"QelvoraMainWindow", nullptr);
                        windowVisibleAtFirstTick_ = window && IsWindowVisible(window);
                    }
                    served_.push_back(ms);
                }
                return LoopbackServer::reply(timePage(ms));
            },
            kTimePort);
        mustListen(*time_, "the time page");
    }
    void stopData() { data_.reset(); }
    void startData() {
        data_ = std::make_unique<LoopbackServer>(
            [this](const HttpRequest&) {
                std::lock_guard lock(mutex_);
                return dataFault_ ? *dataFault_ : LoopbackServer::reply(dataPage_);
            },
            kDataPort);
        mustListen(*data_, "the data server");
    }

    static Text timePage(int64_t ms) {
        return "<script>window.baidu_time(" + std::to_string(ms) + ");</script>";
    }

    void setDataPage(const Text& page) {
        std::lock_guard lock(mutex_);
        dataPage_ = page;
    }
    // Answers every request of the data server or the time page with this reply, until cleared.
    void setDataFault(std::optional<HttpReply> fault) {
        std::lock_guard lock(mutex_);
        dataFault_ = std::move(fault);
    }
    void setTimeFault(std::optional<HttpReply> fault) {
        std::lock_guard lock(mutex_);
        timeFault_ = std::move(fault);
    }
    // Decides the time of each answer of the time page; set before the program starts.
    void setTimeSource(std::function<int64_t()> source) { timeSource_ = std::move(source); }

    size_t dataRequests() const { return data_ ? data_->requests().size() : 0; }
    size_t timeRequests() const { return time_ ? time_->requests().size() : 0; }
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
    // A fixed port that another program holds would leave the program talking to that program instead.
    static void mustListen(const LoopbackServer& server, const char* name) {
        if (server.port() == 0) throw DriverError{std::string(name) + ": its port is taken by another program"};
    }

    mutable std::mutex mutex_;
    Text dataPage_;
    std::optional<HttpReply> dataFault_, timeFault_;
    std::vector<int64_t> served_;
    bool windowVisibleAtFirstTick_ = true;
    std::function<int64_t()> timeSource_;
    std::unique_ptr<LoopbackServer> probe_, data_, time_;
};

// Replaces the whole text of an edit box as a person would: to the end, erase, type.
inline void retype(Program& program, Role role, const Text& text) {
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
