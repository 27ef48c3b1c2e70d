#include "clock/clock.h"

#include <optional>

#include "clock/network_time.h"
#include "net/bytes_to_text.h"
#include "net/fetch.h"
#include "net/urls.h"
#include "stats/handlers.h"
#include "ui/controls.h"

namespace {

constexpr char kNoConnectionMessage[] = "网络连接失败，请检查网络连接！";
constexpr char kReadFailedText[] = "获取失败";

}  // namespace

void onWindowCreated() {
    if (!isInternetConnected()) {
        messageBox(kNoConnectionMessage);
        return;
    }
    onClockTick();
}

void onClockTick() {
    const std::optional<Text> clockText = readClockText(bytesToText(fetchPage(timePageUrl)));
    // The caption comes first, so the clock already shows the scheduled time when the retrieval starts.
    setControlText(Control::clockLabel, clockText.value_or(kReadFailedText));
    // A time that was not read matches no schedule.
    if (clockText && getControlText(Control::scheduleInput) == *clockText) onViewData();
}
