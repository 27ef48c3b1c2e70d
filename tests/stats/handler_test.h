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
