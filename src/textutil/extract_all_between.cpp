#include "textutil/extract_all_between.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string_view>

#include <boost/regex.hpp>

#include "textutil/extract_all_between_reference.h"
#include "textutil/text_search.h"

namespace {

// The backslash comes first, so that the backslashes put in for the later entries are not escaped again.
constexpr std::array<const char*, 14> escapeTable{"\\", ".", "*", "+", "?", "^", "$",
                                                  "(",  ")", "[", "]", "{", "}", "|"};

// A lead byte that ends a text has no character to belong to, and the escaping drops it.
Text withoutLoneLeadByte(const Text& text) {
    size_t at = 0;
    while (at < text.size()) at += isLeadByte(text[at]) ? 2u : 1u;
    return at > text.size() ? text.substr(0, text.size() - 1) : text;
}

// The first character of a text: one byte, or two when the first is a lead byte.
Text firstCharacter(const Text& text) {
    return text.substr(0, !text.empty() && isLeadByte(text[0]) ? 2 : 1);
}

// The last character as the pattern takes it: the last byte, or the last two when the last is 0x80 or more.
Text lastCharacter(const Text& text) {
    const size_t length = !text.empty() && isLeadByte(text.back()) ? 2 : 1;
    return text.size() <= length ? text : text.substr(text.size() - length);
}

Text buildPattern(const Text& sourceText, const Text& leftMarker, const Text& rightMarker,
                  const Text& exclusionText) {
    std::array<Text, 3> escaped{withoutLoneLeadByte(leftMarker), withoutLoneLeadByte(rightMarker),
                                withoutLoneLeadByte(exclusionText)};
    for (const char* entry : escapeTable) {
        for (Text& text : escaped) text = replaceText(text, entry, Text{"\\"} + entry);
    }
    const auto& [left, right, exclusion] = escaped;
    const Text leftPart = left.empty() ? "^" + firstCharacter(sourceText) : "(?<=" + left + ")";
    const Text middlePart = exclusion.empty() ? ".*?" : "((?!" + exclusion + ").)*?";
    const Text rightPart = right.empty() ? lastCharacter(sourceText) + "$" : "(?=" + right + ")";
    return leftPart + middlePart + rightPart;
}

// The pattern compiled, or nothing when the library rejects it.
std::optional<boost::regex> compilePattern(const Text& sourceText, const Text& leftMarker,
                                           const Text& rightMarker, const Text& exclusionText) {
    try {
        return boost::regex(buildPattern(sourceText, leftMarker, rightMarker, exclusionText),
                            boost::regex::perl);
    } catch (const boost::regex_error&) {
        return std::nullopt;
    }
}

// Whether the escaping leaves a marker as its own bytes in the pattern: no second byte of a two-byte
// character is a pattern character, which the escaping would leave bare.
bool readsLiterally(const Text& text) {
    for (size_t at = 0; at < text.size(); ++at) {
        if (!isLeadByte(text[at])) continue;
        ++at;
        for (const char* entry : escapeTable) {
            if (text[at] == *entry) return false;
        }
    }
    return true;
}

// The first occurrence of a literal at or after a position, at any byte as the matcher sees it. The positions
// asked for only grow, so an occurrence found stays the answer until a later position passes it.
class LiteralScan {
  public:
    LiteralScan(std::string_view text, std::string_view literal) : text(text), literal(literal) {}

    size_t firstFrom(size_t from) {
        if (!searched || (found != std::string_view::npos && found < from)) {
            found = text.find(literal, from);
            searched = true;
        }
        return found;
    }

  private:
    std::string_view text;
    std::string_view literal;
    bool searched = false;
    size_t found = 0;
};

}  // namespace

ExtractionResult extractAllBetweenReference(const Text& sourceText, const Text& leftMarker,
                                            const Text& rightMarker, const Text& exclusionText,
                                            bool& gaveUp) {
    gaveUp = false;
    ExtractionResult result{{}, {}};
    const std::optional<boost::regex> pattern =
        compilePattern(sourceText, leftMarker, rightMarker, exclusionText);
    if (!pattern || sourceText.empty()) return result;

    // The look-behind may not see bytes before the rest, so each search gets the rest as its own text.
    const auto begin = sourceText.begin();
    size_t restStart = 0;
    try {
        boost::smatch match;
        while (boost::regex_search(begin + static_cast<std::ptrdiff_t>(restStart), sourceText.end(), match,
                                   *pattern)) {
            const size_t start = static_cast<size_t>(match[0].first - begin);
            const size_t length = static_cast<size_t>(match[0].length());
            const bool sameAsLast = length == 0 && !result.offsets.empty() &&
                                    result.offsets.back() == static_cast<int32_t>(start) &&
                                    result.texts.back().empty();
            if (!sameAsLast) {
                result.texts.push_back(sourceText.substr(start, length));
                result.offsets.push_back(static_cast<int32_t>(start));
            }
            // An empty match at the start of the rest would be found again by every further search.
            if (length == 0 && start == restStart) break;
            restStart = start + length;
        }
    } catch (const std::runtime_error&) {
        // The matcher gave up partway (its limits on effort or memory); what was found before stands.
        gaveUp = true;
    }
    return result;
}

ExtractionResult extractAllBetweenReference(const Text& sourceText, const Text& leftMarker,
                                            const Text& rightMarker, const Text& exclusionText) {
    bool gaveUp = false;
    return extractAllBetweenReference(sourceText, leftMarker, rightMarker, exclusionText, gaveUp);
}

ExtractionResult extractAllBetween(const Text& sourceText, const Text& leftMarker, const Text& rightMarker,
                                   const Text& exclusionText) {
    // The skip ahead holds only while the pattern is the look-behind, the middle and the look-ahead and
    // nothing else: a bare pattern character, or the text's own last character standing in for an empty
    // right marker, could turn it into an alternation that matches without the left marker.
    const Text left = withoutLoneLeadByte(leftMarker);
    if (left.empty() || !readsLiterally(left) || withoutLoneLeadByte(rightMarker).empty() ||
        !readsLiterally(rightMarker) || !readsLiterally(exclusionText)) {
        return extractAllBetweenReference(sourceText, leftMarker, rightMarker, exclusionText);
    }
    ExtractionResult result{{}, {}};
    const std::optional<boost::regex> pattern =
        compilePattern(sourceText, leftMarker, rightMarker, exclusionText);
    if (!pattern) return result;
    const Text right = withoutLoneLeadByte(rightMarker);
    const Text exclusion = withoutLoneLeadByte(exclusionText);

    const std::string_view text = sourceText;
    LiteralScan rightScan{text, right};
    LiteralScan exclusionScan{text, exclusion};
    size_t restStart = 0;
    size_t leftFrom = 0;
    try {
        boost::smatch match;
        for (;;) {
            // A match begins only where the left marker ends, the marker lying wholly inside the rest.
            const size_t leftAt = text.find(left, std::max(restStart, leftFrom));
            if (leftAt == std::string_view::npos) break;
            const size_t candidate = leftAt + left.size();
            // The piece ends at the first right marker from the candidate on: without one, nothing more can
            // match, and an exclusion text beginning before it rules the candidate out.
            const size_t rightAt = rightScan.firstFrom(candidate);
            if (rightAt == std::string_view::npos) break;
            if (!exclusion.empty()) {
                const size_t exclusionAt = exclusionScan.firstFrom(candidate);
                if (exclusionAt < rightAt) {
                    // Every candidate up to the exclusion text meets the same two, so the next one that can
                    // match begins after it.
                    leftFrom = std::max(leftAt + 1,
                                        exclusionAt + 1 > left.size() ? exclusionAt + 1 - left.size() : 0);
                    continue;
                }
            }
            // The search starts at the candidate but sees the rest as its own text: look-behind and "^"
            // stop at restStart, as they do for a search over the whole rest.
            const auto begin = sourceText.begin();
            if (!boost::regex_search(begin + static_cast<std::ptrdiff_t>(candidate), sourceText.end(), match,
                                     *pattern, boost::match_default,
                                     begin + static_cast<std::ptrdiff_t>(restStart))) {
                break;
            }
            const size_t start = static_cast<size_t>(match[0].first - begin);
            const size_t length = static_cast<size_t>(match[0].length());
            result.texts.push_back(sourceText.substr(start, length));
            result.offsets.push_back(static_cast<int32_t>(start));
            restStart = start + length;
        }
    } catch (const std::runtime_error&) {
        // The matcher gave up partway; what was found before stands.
    }
    return result;
}
