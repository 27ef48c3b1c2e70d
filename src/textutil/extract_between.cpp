#include "textutil/extract_between.h"

#include "textutil/text_search.h"

namespace {

// The placeholder becomes a double quote in the caller's own variable; a marker without it stays as it is.
void replacePlaceholder(Text& marker) {
    if (findText(marker, kQuotePlaceholder) != -1) marker = replaceText(marker, kQuotePlaceholder, "\"");
}

}  // namespace

Text extractBetween(const Text& sourceText, Text& leftMarker, Text& rightMarker, int32_t startPosition,
                    bool caseSensitive) {
    replacePlaceholder(leftMarker);
    replacePlaceholder(rightMarker);
    const int32_t left = findText(sourceText, leftMarker, startPosition, !caseSensitive);
    if (left == -1) return {};
    // Everything after the found left marker; the right marker is looked for there alone.
    const size_t remainderStart = static_cast<size_t>(left) - 1 + leftMarker.size();
    const Text remainder = remainderStart < sourceText.size() ? sourceText.substr(remainderStart) : Text{};
    const int32_t right = findText(remainder, rightMarker, startPosition, !caseSensitive);
    if (right == -1) return {};
    return remainder.substr(0, static_cast<size_t>(right) - 1);
}
