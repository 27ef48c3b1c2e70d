#include "ui/fatal_error_report.h"

#include <gtest/gtest.h>

TEST(FatalErrorReport, CodeLineOnlyForNonZeroCodeAndMessageLineOnlyForAMessage) {
    struct Case {
        int32_t code;
        const char* message;
        const char* want;
    };
    const Case cases[] = {
        {0, "", "运行时出错!\r\n\r\n"},
        {0, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        {1, "", "运行时出错!\r\n\r\n错误代码：1\r\n\r\n"},
        {1, "数组成员引用下标超出定义范围",
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        {-2147483647 - 1, "x", "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n错误信息：x\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(fatalErrorReport(c.code, c.message), c.want);
    }
}

TEST(FatalErrorReport, TextsAreGbkBytes) {
    // "运行时出错!" in code page 936.
    EXPECT_EQ(fatalErrorReport(0, "").substr(0, 10), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED");
}
