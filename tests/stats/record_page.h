#pragma once

#include <vector>

#include "convert/text.h"

// A data-server page listing the records as the server does, one purchase time between each pair of markers.
inline Text recordPage(const std::vector<Text>& records) {
    Text page = "<html><body><ul class=\"record\">\r\n";
    for (const Text& record : records)
        page += "<li class=\"user\">someone</li><li class=\"time\">" + record + "</li>\r\n";
    return page + "</ul></body></html>";
}

// The four records of the worked example, latest first.
inline const std::vector<Text> kExampleRecords{"2014-03-09 20:31:07.001", "2014-03-09 20:31:05.512",
                                               "2014-03-09 20:30:58.240", "2014-03-09 20:30:41.999"};

// The report of a retrieval that ran to its end, line by line.
inline Text fullReport(const Text& count, const Text& latest, const Text& earliest, const Text& sum,
                       const Text& remainder, const Text& result) {
    return count + "个用户的记录：\r\n\r\n最后一位：" + latest + "\r\n  ...\r\n最前一位：" + earliest +
           "\r\n\r\n求和：" + sum + "\r\n\r\n取余：" + remainder + "\r\n\r\n结果：" + result + "\r\n\r\n";
}
