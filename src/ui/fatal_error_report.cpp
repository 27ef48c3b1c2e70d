#include "ui/fatal_error_report.h"

#include <string>

Text fatalErrorReport(int32_t code, const Text& message) {
    Text report = "运行时出错!\r\n\r\n";
    if (code != 0) report += "错误代码：" + std::to_string(code) + "\r\n\r\n";
    if (!message.empty()) report += "错误信息：" + message + "\r\n";
    return report;
}
