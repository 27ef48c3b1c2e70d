#include "stats/handlers.h"

#include <optional>

#include "app/globals.h"
#include "convert/convert.h"
#include "stats/report.h"
#include "ui/controls.h"

namespace {

constexpr char kNoRetrievalMessage[] = "请先查看数据";
constexpr char kOutOfRangeMessage[] = "输入的时间超出计算范围";

void append(const Text& text) {
    appendControlText(Control::whatIfView, text);
}

}  // namespace

void onCompute() {
    if (getControlText(Control::recordView).empty()) {
        messageBox(kNoRetrievalMessage);
        return;
    }

    // Whole 64-bit arithmetic: exact for every value, and a sum that leaves the range is refused
    // before anything is written.
    const Text inputText = getControlText(Control::lastTimeInput);
    int64_t keptSum = 0;
    int64_t whatIfSum = 0;
    if (__builtin_sub_overflow(timeSum, textToInt64(earliestTail), &keptSum) ||
        __builtin_add_overflow(keptSum, textToInt64(inputText), &whatIfSum)) {
        messageBox(kOutOfRangeMessage);
        return;
    }

    setControlText(Control::whatIfView,
                   "最后：" + numberToText(static_cast<double>(timeRecords.texts.size()) - 2.0) +
                       "个用户的记录 + 最后一个输入时间\r\n\r\n");
    append("求和：" + numberToText(keptSum) + " + [" + inputText + "]\r\n    = " + numberToText(whatIfSum) +
           "\r\n");

    const std::optional<int64_t> remainder =
        remainderByTotal(whatIfSum, textToInt32(getControlText(Control::totalInput)));
    if (!remainder) {
        messageBox(kTotalMissingMessage);
        return;
    }
    append("取余：" + numberToText(*remainder) + "\r\n\r\n");
    append("结果：" + numberToText(*remainder + kResultConstant));
}
