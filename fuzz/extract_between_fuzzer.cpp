// extractBetween and the text search under it, against a plain reading of their rules: a start of 1 or less
// is the first byte, an empty needle is found at 1 while a byte remains, candidates step over two-byte
// characters, a lead byte at the end stops the scan, and case-blind comparison folds ASCII letters alone.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_input.h"
#include "textutil/extract_between.h"
#include "textutil/text_search.h"

namespace {

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameAt(const Text& haystack, size_t at, const Text& needle, bool caseBlind) {
    if (at + needle.size() > haystack.size()) return false;
    for (size_t i = 0; i < needle.size(); ++i) {
        const char a = haystack[at + i];
        const char b = needle[i];
        if (caseBlind ? folded(a) != folded(b) : a != b) return false;
    }
    return true;
}

int32_t plainFind(const Text& haystack, const Text& needle, int32_t start, bool caseBlind) {
    const size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
    if (from >= haystack.size()) return -1;
    if (needle.empty()) return 1;
    for (size_t at = from; at < haystack.size();) {
        if (sameAt(haystack, at, needle, caseBlind)) return static_cast<int32_t>(at + 1);
        if (!isLeadByte(haystack[at])) {
            ++at;
        } else if (at + 1 < haystack.size()) {
            at += 2;
        } else {
            return -1;
        }
    }
    return -1;
}

Text plainReplace(const Text& text, const Text& needle, const Text& replacement) {
    Text out;
    for (size_t at = 0; at < text.size();) {
        if (!needle.empty() && sameAt(text, at, needle, false)) {
            out += replacement;
            at += needle.size();
        } else {
            const size_t step = isLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
            out.append(text, at, step);
            at += step;
        }
    }
    return out;
}

Text lastBytes(const Text& text, int64_t count) {
    if (count <= 0) return {};
    return static_cast<size_t>(count) >= text.size() ? text
                                                     : text.substr(text.size() - static_cast<size_t>(count));
}

Text firstBytes(const Text& text, int64_t count) {
    if (count <= 0) return {};
    return text.substr(0, static_cast<size_t>(count));
}

Text plainExtract(const Text& source, Text& left, Text& right, int32_t start, bool caseSensitive) {
    if (plainFind(left, kQuotePlaceholder, 1, false) != -1)
        left = plainReplace(left, kQuotePlaceholder, "\"");
    if (plainFind(right, kQuotePlaceholder, 1, false) != -1)
        right = plainReplace(right, kQuotePlaceholder, "\"");
    const int32_t p = plainFind(source, left, start, !caseSensitive);
    if (p == -1) return {};
    const Text remainder =
        lastBytes(source, static_cast<int64_t>(source.size()) - p - static_cast<int64_t>(left.size()) + 1);
    const int32_t q = plainFind(remainder, right, start, !caseSensitive);
    if (q == -1) return {};
    return firstBytes(remainder, q - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return -1;
    int32_t start = 0;
    std::memcpy(&start, data, sizeof start);
    const bool caseSensitive = (data[4] & 1) != 0;
    const auto fields = splitFields(data + 5, size - 5, 3);

    Text left = fields[0];
    Text right = fields[1];
    const Text& source = fields[2];
    for (const Text* needle : {&left, &right}) {
        for (bool caseBlind : {false, true}) {
            FUZZ_CHECK(findText(source, *needle, start, caseBlind) ==
                       plainFind(source, *needle, start, caseBlind));
        }
        FUZZ_CHECK(replaceText(source, *needle, "\"") == plainReplace(source, *needle, "\""));
    }

    Text expectedLeft = left;
    Text expectedRight = right;
    const Text expected = plainExtract(source, expectedLeft, expectedRight, start, caseSensitive);
    const Text got = extractBetween(source, left, right, start, caseSensitive);
    FUZZ_CHECK(got == expected);
    FUZZ_CHECK(left == expectedLeft);
    FUZZ_CHECK(right == expectedRight);
    return 0;
}
