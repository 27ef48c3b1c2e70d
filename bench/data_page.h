#pragma once

#include <cstddef>
#include <cstdio>

#include "convert/text.h"

// The retrieval's markers.
inline const Text kTimeLeft = "<li class=\"time\">";
inline const Text kTimeRight = "</li>";

// A data-server page as the retrieval meets it: every purchase time between its markers, with the record's
// other list items around it, about 130 bytes a record.
inline Text dataPage(size_t records) {
    Text page = "<html><head><title>最新购买记录</title></head><body><ul class=\"record\">\r\n";
    char item[160];
    for (size_t i = 0; i < records; ++i) {
        const unsigned n = static_cast<unsigned>(i);
        std::snprintf(item, sizeof item,
                      "<li class=\"user\">user%05u</li><li class=\"ip\">10.0.%u.%u</li><li class=\"time\">"
                      "2014-03-09 %02u:%02u:%02u.%03u</li><li class=\"count\">1</li>\r\n",
                      n % 100000, n / 256 % 256, n % 256, 20 - n / 3600 % 20, 59 - n / 60 % 60, 59 - n % 60,
                      999 - n * 7 % 1000);
        page += item;
    }
    return page + "</ul></body></html>";
}
