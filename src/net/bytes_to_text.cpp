#include "net/bytes_to_text.h"

#include <algorithm>

Text bytesToText(const Bytes& bytes) {
    return Text(bytes.begin(), std::find(bytes.begin(), bytes.end(), '\0'));
}
