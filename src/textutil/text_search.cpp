#include "textutil/text_search.h"

#include <algorithm>
#include <cstddef>

namespace {

char foldAscii(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

bool matchesAt(const Text& haystack, size_t at, const Text& needle, bool caseBlind) {
    if (!caseBlind) return haystack.compare(at, needle.size(), needle) == 0;
    return std::equal(needle.begin(), needle.end(), haystack.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, char b) { return foldAscii(a) == foldAscii(b); });
}

// The byte offset of the first match at or after from, or npos.
size_t findFrom(const Text& haystack, const Text& needle, size_t from, bool caseBlind) {
    for (size_t at = from; at + needle.size() <= haystack.size();) {
        if (matchesAt(haystack, at, needle, caseBlind)) return at;
        if (!isLeadByte(haystack[at])) {
            ++at;
        } else if (at + 1 < haystack.size()) {
            at += 2;
        } else {
            break;
        }
    }
    return Text::npos;
}

}  // namespace

int32_t findText(const Text& haystack, const Text& needle, int32_t start, bool caseBlind) {
    const size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
    if (from >= haystack.size()) return -1;
    if (needle.empty()) return 1;
    const size_t at = findFrom(haystack, needle, from, caseBlind);
    return at == Text::npos ? -1 : static_cast<int32_t>(at + 1);
}

Text replaceText(const Text& text, const Text& needle, const Text& replacement) {
    if (needle.empty()) return text;
    Text replaced;
    size_t from = 0;
    for (size_t at = findFrom(text, needle, 0, false); at != Text::npos;
         at = findFrom(text, needle, from, false)) {
        replaced.append(text, from, at - from).append(replacement);
        from = at + needle.size();
    }
    return replaced.append(text, from);
}
