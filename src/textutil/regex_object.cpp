#include "textutil/regex_object.h"

#include "textutil/text_search.h"

Text RegexObject::matchText(int32_t matchIndex, int32_t* matchStart) const {
    std::optional<FoundMatch> match = matchAt(matchIndex - 1, matchStart != nullptr);
    if (matchStart) *matchStart = match ? match->offset : -1;
    return match ? std::move(match->text) : Text{};
}

Text RegexObject::subMatchText(int32_t matchIndex, int32_t subIndex, int32_t* matchStart) const {
    const std::optional<FoundMatch> match = matchAt(matchIndex - 1);
    std::optional<Text> group = match ? subMatchAt(matchIndex - 1, subIndex - 1) : std::nullopt;
    if (matchStart) {
        // No position comes with a group, so its text is looked for from its match onwards; the empty text
        // stands at the match itself.
        *matchStart = -1;
        if (group && group->empty()) {
            *matchStart = match->offset;
        } else if (group) {
            const int32_t found = findText(searchedText, *group, match->offset + 1);
            if (found != -1) *matchStart = found - 1;
        }
    }
    return group ? std::move(*group) : Text{};
}
