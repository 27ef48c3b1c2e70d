// The retrieval, the what-if and the clock tick through the fake window and network, with fuzzed pages and
// field texts. No run may reach the fatal error report; the count line always matches the page; a complete
// report's result is its remainder plus 10000001; and a message box that is open runs the tick again, as the
// real box's own message loop does.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/globals.h"
#include "clock/clock.h"
#include "convert/convert.h"
#include "fakes/fake_net.h"
#include "fakes/fake_ui.h"
#include "fuzz/fuzz_input.h"
#include "net/bytes_to_text.h"
#include "net/urls.h"
#include "stats/handlers.h"
#include "textutil/extract_all_between.h"

namespace {

// The number that follows the last label in a report, or nothing.
std::optional<double> valueAfter(const Text& report, const Text& label) {
    const size_t at = report.rfind(label);
    if (at == Text::npos) return std::nullopt;
    return textToNumber(report.substr(at + label.size()));
}

void runGuarded(void (*handler)()) {
    try {
        handler();
    } catch (const fake::FatalError& error) {
        std::fprintf(stderr, "fatal error report: code %d\n", static_cast<int>(error.code));
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto fields = splitFields(data, size, 5);
    const Text& total = fields[0];
    const Text& lastTime = fields[1];
    const Text& schedule = fields[2];
    const Text& timePage = fields[3];
    const Text& dataPage = fields[4];

    fake::resetUi();
    fake::resetNet();
    initGlobals();
    fake::setPage(dataServerUrl, dataPage);
    fake::setPage(timePageUrl, timePage);
    fake::controls[Control::totalInput] = total;
    fake::controls[Control::lastTimeInput] = lastTime;
    fake::controls[Control::scheduleInput] = schedule;
    int nested = 0;
    fake::whileMessageBoxOpen = [&nested](const Text&) {
        if (nested++ < 2) runGuarded(onClockTick);
    };

    runGuarded(onViewData);
    const Text report = fake::controls[Control::recordView];
    const size_t records = extractAllBetween(bytesToText(Bytes(dataPage.begin(), dataPage.end())),
                                             "<li class=\"time\">", "</li>")
                               .texts.size();
    const Text countLine = numberToText(static_cast<double>(records) - 1.0) + "个用户的记录：\r\n\r\n";
    FUZZ_CHECK(report.compare(0, countLine.size(), countLine) == 0);
    if (total.empty()) FUZZ_CHECK(!fake::messages.empty());

    const auto remainder = valueAfter(report, "取余：");
    const auto result = valueAfter(report, "结果：");
    FUZZ_CHECK(remainder.has_value() == result.has_value());
    if (result) {
        FUZZ_CHECK(*result == *remainder + 10000001);
        FUZZ_CHECK(std::fabs(*remainder) < std::fabs(static_cast<double>(textToInt32(total))));
        FUZZ_CHECK(*remainder >= 0);
    }

    runGuarded(onCompute);
    const Text whatIf = fake::controls[Control::whatIfView];
    if (!whatIf.empty()) FUZZ_CHECK(whatIf.compare(0, Text{"最后："}.size(), "最后：") == 0);
    // What follows the echo of lastTimeInput is the program's own.
    const Text echo = " + [" + lastTime + "]\r\n";
    const size_t echoed = whatIf.find(echo);
    if (echoed != Text::npos) {
        const Text tail = whatIf.substr(echoed + echo.size());
        const auto whatIfRemainder = valueAfter(tail, "取余：");
        const auto whatIfResult = valueAfter(tail, "结果：");
        FUZZ_CHECK(whatIfRemainder.has_value() == whatIfResult.has_value());
        if (whatIfResult) FUZZ_CHECK(*whatIfResult == *whatIfRemainder + 10000001);
    }

    runGuarded(onClockTick);
    FUZZ_CHECK(!fake::controls[Control::clockLabel].empty());
    releaseGlobals();
    return 0;
}
