// The program under Wine while the data server and the time page misbehave: refusing, stalling past the
// fetch time-out, resetting partway, dripping, sending 50 MB, binary and zero bytes, errors with a body and
// a redirect loop. The program must stay up, show what the page allowed, and recover with the server.
#include <gtest/gtest.h>

#include "e2e/scenario.h"
#include "net/fetch.h"

namespace {

// Longer than the fetch time-out, so that only the program's own time-out can end the wait.
constexpr auto kStall = Millis(kFetchTimeoutMs + 4000);
// Bounds for a fault to show: a stalled fetch gives up after the time-out, a tick may just have started.
constexpr auto kFaultShows = Millis(2 * kFetchTimeoutMs + 10000);

struct Fault {
    const char* name;
    HttpReply reply;
    bool refused = false;  // the server is down and connections are refused
};

HttpReply stalled() {
    HttpReply reply;
    reply.mode = ReplyMode::stall;
    reply.stallFor = kStall;
    return reply;
}

HttpReply resetWithin(const Text& body, size_t bodyBytes) {
    HttpReply reply = LoopbackServer::reply(body);
    reply.mode = ReplyMode::resetAfter;
    reply.resetAfterBytes = reply.bytes.size() - body.size() + bodyBytes;
    return reply;
}

HttpReply dripped(const Text& body) {
    HttpReply reply = LoopbackServer::reply(body);
    reply.mode = ReplyMode::drip;
    reply.dripBytes = 8;
    reply.dripInterval = Millis(50);
    return reply;
}

// Bytes 1 to 255 over and over: everything but the zero byte.
Text binary(size_t size) {
    Text bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 255 + 1);
    return bytes;
}

Text fiftyMegabytesBefore(const Text& page) {
    Text big;
    big.reserve(50u << 20);
    while (big.size() + 64 < (50u << 20)) big += "<p>nothing to see here, only filler for the page</p>\r\n";
    return big + page;
}

HttpReply redirectLoop(uint16_t port, const char* path) {
    return LoopbackServer::reply("moved", "302 Found",
                                 "Location: http://127.0.0.1:" + std::to_string(port) + path + "\r\n");
}

// The text of a control once the program answers again: a fetch may block the window for a while.
Text waitThroughFetches(Program& program, Role role, const std::function<bool(const Text&)>& ok,
                        Millis timeout, const std::string& step) {
    const auto until = Clock::now() + timeout;
    Text last = "(no answer)";
    for (;;) {
        try {
            last = program.text(role);
            if (ok(last)) return last;
        } catch (const DriverError&) {
            // The window is inside a fetch; ask again.
        }
        if (Clock::now() > until) throw DriverError{step + ": the control holds \"" + last + "\""};
        if (!program.running()) throw DriverError{step + ": the program has ended"};
        pause(Millis(50));
    }
}

void applyFault(Network& network, const Fault& fault, bool timePage) {
    if (timePage) {
        if (fault.refused) {
            network.stopTime();
        } else {
            network.setTimeFault(fault.reply);
        }
    } else if (fault.refused) {
        network.stopData();
    } else {
        network.setDataFault(fault.reply);
    }
}

void clearFault(Network& network, const Fault& fault, bool timePage) {
    if (timePage) {
        network.setTimeFault(std::nullopt);
        if (fault.refused) network.startTime();
    } else {
        network.setDataFault(std::nullopt);
        if (fault.refused) network.startData();
    }
}

TEST(Faults, TheClockShowsWhatTheTimePageAllowsAndRecoversWithIt) {
    constexpr int64_t kFaultMs = kNoonMs + 3600000;  // the time a faulty page still delivers: 13时0分0秒
    const Text page = Network::timePage(kFaultMs);
    const Text failed = kClockFailedText;
    const Text faultTime = clockTextOf(kFaultMs);
    struct Case {
        Fault fault;
        Text shows;
    };
    std::vector<Case> cases;
    const auto add = [&](const char* name, const HttpReply& reply, const Text& shows) {
        cases.push_back(Case{Fault{name, reply, false}, shows});
    };
    cases.push_back(Case{Fault{"refused", HttpReply{}, true}, failed});
    add("stalled past the time-out", stalled(), failed);
    add("reset inside the number", resetWithin(page, page.find("(") + 5), failed);
    add("dripping slowly", dripped(page), faultTime);
    add("50 MB before the time", LoopbackServer::reply(fiftyMegabytesBefore(page)), faultTime);
    add("binary bytes, the time, a zero byte, binary bytes",
        LoopbackServer::reply(binary(4096) + page + Text(1, '\0') + binary(4096)), faultTime);
    add("a zero byte before the time", LoopbackServer::reply(Text(3, '\0') + page), failed);
    add("404 with the time in its body", LoopbackServer::reply(page, "404 Not Found"), faultTime);
    add("500 with an error page",
        LoopbackServer::reply("<h1>Internal Server Error</h1>", "500 Internal Server Error"), failed);
    add("a redirect loop", redirectLoop(kTimePort, "/special/time/"), failed);
    drive([&] {
        Network network;
        Program program;
        program.waitUntilVisible();
        const Text noon = clockTextOf(kNoonMs);
        program.waitForText(Role::clockLabel, noon, Millis(10000), "the clock before any fault");
        retype(program, Role::scheduleInput, "23时59分59秒");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.fault.name);
            applyFault(network, c.fault, true);
            waitThroughFetches(
                program, Role::clockLabel, [&](const Text& t) { return t == c.shows; }, kFaultShows,
                std::string(c.fault.name) + ", " + "the clock during the fault");
            clearFault(network, c.fault, true);
            waitThroughFetches(
                program, Role::clockLabel, [&](const Text& t) { return t == noon; }, kFaultShows + kStall,
                std::string(c.fault.name) + ", " + "the clock once the page is back");
        }
        EXPECT_EQ(program.text(Role::scheduleInput), "23时59分59秒");
        EXPECT_FALSE(program.waitForMessageBox(Millis(300)));
        program.pressKey(VK_ESCAPE);
        EXPECT_EQ(program.waitForExit(), 0u);
    });
}

TEST(Faults, TheRetrievalReportsWhatTheDataServerAllowsAndRecoversWithIt) {
    const Text page = workedExamplePage();
    const Text recoveredPage = record("1") + record("2014-03-09 20:31:05.512");
    const Text recoveredReport =
        "1个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
        "...\r\n最前一位：203105512\r\n\r\n求和：203105512\r\n\r\n"
        "取余：512\r\n\r\n结果：10000513\r\n\r\n";
    const Text noRecords = "-1个用户的记录：\r\n\r\n";
    // Cut inside the fourth record: the three before it are whole, two of them counted.
    const Text threeRecords =
        "2个用户的记录：\r\n\r\n最后一位：203105512\r\n  "
        "...\r\n最前一位：203058240\r\n\r\n求和：406163752\r\n\r\n"
        "取余：752\r\n\r\n结果：10000753\r\n\r\n";
    struct Case {
        Fault fault;
        Text report;
        bool tooFewMessage;
    };
    std::vector<Case> cases;
    const auto add = [&](const char* name, const HttpReply& reply, const Text& report, bool tooFewMessage) {
        cases.push_back(Case{Fault{name, reply, false}, report, tooFewMessage});
    };
    cases.push_back(Case{Fault{"refused", HttpReply{}, true}, noRecords, true});
    add("stalled past the time-out", stalled(), noRecords, true);
    add("reset inside the fourth record", resetWithin(page, page.find("2014-03-09 20:30:41")), threeRecords,
        false);
    add("dripping slowly", dripped(page), kWorkedExampleReport, false);
    add("50 MB before the records", LoopbackServer::reply(fiftyMegabytesBefore(page)), kWorkedExampleReport,
        false);
    add("binary bytes, the records, a zero byte, more records",
        LoopbackServer::reply(binary(4096) + page + Text(1, '\0') + record("2014-03-09 20:00:00.000")),
        kWorkedExampleReport, false);
    add("a zero byte before the records", LoopbackServer::reply(Text(1, '\0') + page), noRecords, true);
    add("404 with the records in its body", LoopbackServer::reply(page, "404 Not Found"),
        kWorkedExampleReport, false);
    add("500 with an error page",
        LoopbackServer::reply("<h1>Internal Server Error</h1>", "500 Internal Server Error"), noRecords,
        true);
    add("a redirect loop", redirectLoop(kDataPort, "/"), noRecords, true);
    drive([&] {
        Network network;
        network.setDataPage(recoveredPage);
        Program program;
        program.waitUntilVisible();
        program.focus(Role::totalInput);
        program.type("1000");
        program.waitForText(Role::totalInput, "1000", Millis(5000), "typing the total");
        retype(program, Role::lastTimeInput, "203100000");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.fault.name);
            applyFault(network, c.fault, false);
            program.click(Role::viewButton);
            if (c.tooFewMessage) {
                const auto seen = program.waitForMessageBox(kFaultShows);
                if (!seen)
                    throw DriverError{std::string(c.fault.name) + ": no message box\n" + program.describe()};
                const MessageBoxSeen box = *seen;
                EXPECT_EQ(box.text, kTooFewMessage);
                EXPECT_EQ(program.text(Role::recordView), c.report);
                program.closeMessageBox();
            } else {
                waitThroughFetches(
                    program, Role::recordView, [&](const Text& t) { return t == c.report; }, kFaultShows,
                    std::string(c.fault.name) + ", " + "the report during the fault");
            }
            clearFault(network, c.fault, false);
            program.click(Role::viewButton);
            waitThroughFetches(
                program, Role::recordView, [&](const Text& t) { return t == recoveredReport; }, kFaultShows,
                std::string(c.fault.name) + ", " + "the report once the server is back");
        }
        // Nothing the user typed was lost, and the what-if follows the last retrieval.
        EXPECT_EQ(program.text(Role::totalInput), "1000");
        EXPECT_EQ(program.text(Role::lastTimeInput), "203100000");
        EXPECT_EQ(program.text(Role::scheduleInput), "0时0分0秒");
        program.click(Role::computeButton);
        program.waitForText(
            Role::whatIfView,
            "最后：0个用户的记录 + 最后一个输入时间\r\n\r\n求和：0 + [203100000]\r\n    = 203100000\r\n"
            "取余：0\r\n\r\n结果：10000001",
            Millis(5000), "the what-if after the faults");
        program.pressKey(VK_ESCAPE);
        EXPECT_EQ(program.waitForExit(), 0u);
    });
}

}  // namespace
