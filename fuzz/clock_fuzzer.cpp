// The clock's arithmetic: for any millisecond count a page can hold, the text it shows equals the time of
// day of the low 32 bits of its whole seconds, worked out in integers; formatTimeOfDay of any double is a
// well-formed time of day; and a tick over a fuzzed page writes exactly that text or the failure text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "clock/clock.h"
#include "clock/network_time.h"
#include "fakes/fake_net.h"
#include "fakes/fake_ui.h"
#include "fuzz/fuzz_input.h"
#include "net/urls.h"

namespace {

Text timeOfDay(int64_t secondOfDay) {
    return std::to_string(secondOfDay / 3600) + "时" + std::to_string(secondOfDay / 60 % 60) + "分" +
           std::to_string(secondOfDay % 60) + "秒";
}

// hour "时" minute "分" second "秒", each in range and without leading zeros.
bool wellFormed(const Text& text) {
    const Text units[] = {"时", "分", "秒"};
    const int limits[] = {24, 60, 60};
    size_t at = 0;
    for (int part = 0; part < 3; ++part) {
        const size_t unit = text.find(units[part], at);
        if (unit == Text::npos || unit == at || unit - at > 2) return false;
        const Text number = text.substr(at, unit - at);
        if (number.size() == 2 && number[0] == '0') return false;
        for (char c : number)
            if (c < '0' || c > '9') return false;
        if (std::stoi(number) >= limits[part]) return false;
        at = unit + units[part].size();
    }
    return at == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 16) return -1;
    int64_t ms = 0;
    std::memcpy(&ms, data, sizeof ms);
    ms %= int64_t{1} << 53;  // every count up to 2^53 is exact in a double
    const auto seconds = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms / 1000)));
    const int64_t beijing = static_cast<int64_t>(seconds) + 8 * 3600;
    FUZZ_CHECK(clockTextOf(static_cast<double>(ms)) == timeOfDay((beijing % 86400 + 86400) % 86400));

    double dateTime = 0;
    std::memcpy(&dateTime, data + 8, sizeof dateTime);
    FUZZ_CHECK(wellFormed(formatTimeOfDay(dateTime)));

    const Text page(reinterpret_cast<const char*>(data + 16), size - 16);
    fake::resetUi();
    fake::resetNet();
    fake::setPage(timePageUrl, page);
    fake::controls[Control::scheduleInput] = "不会相等";
    onClockTick();
    const std::optional<Text> shown = readClockText(page.substr(0, page.find('\0')));
    FUZZ_CHECK(fake::controls[Control::clockLabel] == shown.value_or("获取失败"));
    if (shown) FUZZ_CHECK(wellFormed(*shown));
    FUZZ_CHECK(fake::messages.empty());
    FUZZ_CHECK(fake::fetched.size() == 1);
    return 0;
}
