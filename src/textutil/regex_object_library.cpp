#include "textutil/regex_object.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <boost/regex.hpp>

#include "textutil/text_search.h"

// The library works on wide code units, one per character as the automation object counts them: a two-byte
// character becomes one unit outside Unicode's assigned planes, so that it never matches an ASCII class
// and comes back as the same two bytes.
static_assert(sizeof(wchar_t) == 4, "the private code units need UTF-32");

namespace {

constexpr wchar_t kPairBase = 0x100000;     // lead << 8 | trail on top
constexpr wchar_t kLoneLeadBase = 0xF0000;  // a lead byte that ends the text

// The wide form of a text, and for each unit the byte offset of its character (one more entry: the length).
struct WideText {
    std::wstring units;
    std::vector<size_t> byteOffsets;
};

WideText widen(const Text& text) {
    WideText wide;
    for (size_t at = 0; at < text.size();) {
        wide.byteOffsets.push_back(at);
        const auto byte = static_cast<unsigned char>(text[at]);
        if (!isLeadByte(text[at])) {
            wide.units += static_cast<wchar_t>(byte);
            ++at;
        } else if (at + 1 < text.size()) {
            wide.units +=
                static_cast<wchar_t>(kPairBase + (byte << 8) + static_cast<unsigned char>(text[at + 1]));
            at += 2;
        } else {
            wide.units += static_cast<wchar_t>(kLoneLeadBase + byte);
            ++at;
        }
    }
    wide.byteOffsets.push_back(text.size());
    return wide;
}

template <class Iterator>
Text narrow(Iterator first, Iterator last) {
    Text text;
    for (; first != last; ++first) {
        const auto unit = static_cast<unsigned long>(*first);
        if (unit >= static_cast<unsigned long>(kPairBase)) text += static_cast<char>((unit >> 8) & 0xFF);
        text += static_cast<char>(unit & 0xFF);
    }
    return text;
}

}  // namespace

struct RegexObject::Pattern {
    Text text;
    bool global;
    boost::match_flag_type flags;
    std::optional<boost::wregex> compiled;  // empty when the library rejects the pattern
};

struct RegexObject::MatchList {
    struct Match {
        Text text;
        int32_t offset;
        std::vector<Text> groups;
    };
    std::vector<Match> matches;
};

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& source)
    : regExp(source.regExp), matchList(source.matchList), searchedText(source.searchedText) {}

bool RegexObject::execute(const Text& pattern, const Text& sourceText, bool caseSensitive, bool multiline,
                          bool global) {
    // As the automation object: "." stops at line breaks, and without Multiline "^" and "$" hold only at
    // the ends of the text.
    auto made = std::make_shared<Pattern>(Pattern{pattern, global, boost::match_default, std::nullopt});
    if (!multiline) made->flags |= boost::match_single_line;
    try {
        auto options = boost::regex::ECMAScript | boost::regex::no_mod_s;
        if (!caseSensitive) options |= boost::regex::icase;
        made->compiled.emplace(widen(pattern).units, options);
    } catch (const boost::regex_error&) {
        made->compiled.reset();
    }
    regExp = made;

    std::shared_ptr<MatchList> found;
    if (regExp->compiled) {
        found = std::make_shared<MatchList>();
        const WideText wide = widen(sourceText);
        try {
            for (boost::wsregex_iterator
                     it(wide.units.begin(), wide.units.end(), *regExp->compiled, regExp->flags),
                 end;
                 it != end; ++it) {
                const boost::wsmatch& match = *it;
                MatchList::Match entry{
                    narrow(match[0].first, match[0].second),
                    static_cast<int32_t>(
                        wide.byteOffsets[static_cast<size_t>(match[0].first - wide.units.begin())]),
                    {}};
                for (size_t group = 1; group < match.size(); ++group) {
                    entry.groups.push_back(
                        narrow(match[static_cast<int>(group)].first, match[static_cast<int>(group)].second));
                }
                found->matches.push_back(std::move(entry));
                if (!global) break;
            }
        } catch (const std::runtime_error&) {
            found.reset();
        }
    }
    matchList = found;
    searchedText = sourceText;
    return matchList != nullptr;
}

Text RegexObject::getPattern() const {
    return regExp ? regExp->text : Text{};
}

Text RegexObject::replace(const Text& replacement) const {
    if (!regExp || !regExp->compiled) return {};
    auto flags = regExp->flags | boost::format_default;
    if (!regExp->global) flags |= boost::format_first_only;
    try {
        const std::wstring replaced = boost::regex_replace(widen(searchedText).units, *regExp->compiled,
                                                           widen(replacement).units, flags);
        return narrow(replaced.begin(), replaced.end());
    } catch (const std::runtime_error&) {
        return {};
    }
}

int32_t RegexObject::matchCount() const {
    return matchList ? static_cast<int32_t>(matchList->matches.size()) : 0;
}

int32_t RegexObject::subMatchCount() const {
    return matchList && !matchList->matches.empty()
               ? static_cast<int32_t>(matchList->matches.front().groups.size())
               : 0;
}

std::optional<RegexObject::FoundMatch> RegexObject::matchAt(int32_t index, bool) const {
    if (!matchList || index < 0 || static_cast<size_t>(index) >= matchList->matches.size())
        return std::nullopt;
    const MatchList::Match& match = matchList->matches[static_cast<size_t>(index)];
    return FoundMatch{match.text, match.offset};
}

std::optional<Text> RegexObject::subMatchAt(int32_t index, int32_t subIndex) const {
    if (!matchAt(index)) return std::nullopt;
    const std::vector<Text>& groups = matchList->matches[static_cast<size_t>(index)].groups;
    if (subIndex < 0 || static_cast<size_t>(subIndex) >= groups.size()) return std::nullopt;
    return groups[static_cast<size_t>(subIndex)];
}
