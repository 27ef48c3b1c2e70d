#include "stats/handlers.h"

#include <vector>

#include "app/globals.h"
#include "convert/convert.h"
#include "net/bytes_to_text.h"
#include "net/fetch.h"
#include "net/urls.h"
#include "stats/report.h"
#include "textutil/extract_all_between.h"
#include "textutil/keep_digits.h"
#include "ui/controls.h"

namespace {

constexpr char kStartMarker[] = "<li class=\"time\">";
constexpr char kEndMarker[] = "</li>";
constexpr size_t kTailLength = 9;
constexpr char kTooFewRecordsMessage[] = "购买记录不足两条，无法计算";

// HHMMSSmmm: the last nine digits of a record, or all of them when it has fewer.
Text recordTail(const Text& digits) {
    return digits.size() <= kTailLength ? digits : digits.substr(digits.size() - kTailLength);
}

void append(const Text& text) {
    appendControlText(Control::recordView, text);
}

}  // namespace

void onViewData() {
    dataPageText = bytesToText(fetchPage(dataServerUrl));
    timeRecords = extractAllBetween(dataPageText, kStartMarker, kEndMarker);
    const std::vector<Text>& records = timeRecords.texts;

    setControlText(Control::recordView,
                   numberToText(static_cast<double>(records.size()) - 1.0) + "个用户的记录：\r\n\r\n");

    // Record 1 is not counted. Each tail is below 10^9 and a page cannot hold 2^31 records,
    // so the sum stays far inside 64 bits.
    timeSum = 0;
    for (size_t i = 1; i < records.size(); ++i) {
        recordDigits = keepDigits(records[i]);
        earliestTail = recordTail(recordDigits);
        timeSum += textToInt32(earliestTail);
    }

    const Text totalText = getControlText(Control::totalInput);
    if (totalText.empty()) {
        messageBox(kTotalMissingMessage);
        return;
    }
    if (records.size() < 2) {
        messageBox(kTooFewRecordsMessage);
        return;
    }

    append("最后一位：" + recordTail(keepDigits(records[1])) + "\r\n");
    append("  ...\r\n");
    append("最前一位：" + earliestTail + "\r\n\r\n");
    append("求和：" + numberToText(timeSum) + "\r\n\r\n");

    const std::optional<int64_t> remainder = remainderByTotal(timeSum, textToInt32(totalText));
    if (!remainder) {
        messageBox(kTotalMissingMessage);
        return;
    }
    append("取余：" + numberToText(*remainder) + "\r\n\r\n");
    append("结果：" + numberToText(*remainder + kResultConstant) + "\r\n\r\n");
}
