#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "convert/text.h"

#ifdef _WIN32
#include "textutil/com_ref.h"
struct IDispatch;
#endif

// One regular-expression run over a text and what it found, on the platform's "VBScript.RegExp" automation
// object on Windows and on a regular-expression library elsewhere. Nothing here reports an error: a failure
// gives the empty text, 0 or false. Positions are 0-based byte offsets into the searched text.
class RegexObject {
  public:
    RegexObject();

    // The operations in their slot order: destroy, copy, execute, noOp, getPattern, replace, matchCount,
    // matchText, subMatchText, subMatchCount.

    // destroy: gives up the objects, then the initialisation this object took.
    ~RegexObject();
    // copy: holds the same objects as the source, and an initialisation of its own, so that its end cannot
    // end one that someone else holds. Later runs replace the references, so neither affects the other.
    RegexObject(const RegexObject& source);
    RegexObject& operator=(const RegexObject&) = delete;
    RegexObject copy() const { return RegexObject(*this); }

    // Runs pattern over sourceText with a new object, replacing what the last run left. True when the run
    // gave a match list, even an empty one; false for a pattern that is rejected.
    bool execute(const Text& pattern, const Text& sourceText, bool caseSensitive = false,
                 bool multiline = true, bool global = true);
    void noOp() {}
    Text getPattern() const;
    // The searched text with the matches replaced by the object's own rules ("$1" is the first group).
    Text replace(const Text& replacement = {}) const;
    int32_t matchCount() const;
    // Match matchIndex (from 1); matchStart gets its byte offset, or -1 when there is no such match.
    Text matchText(int32_t matchIndex, int32_t* matchStart = nullptr) const;
    // Group subIndex (from 1) of match matchIndex; a group that took no part gives the empty text. matchStart
    // gets the offset of the first occurrence of the group's text at or after its match, or -1.
    Text subMatchText(int32_t matchIndex, int32_t subIndex, int32_t* matchStart = nullptr) const;
    // The number of groups of the pattern when the last run found a match, otherwise 0.
    int32_t subMatchCount() const;

  private:
    struct FoundMatch {
        Text text;
        int32_t offset;
    };
    // The backend's view of entry index (from 0) of the match list, and of group subIndex (from 0) in it.
    // Without withOffset the offset may be left out (-1), which spares the automation object a request.
    std::optional<FoundMatch> matchAt(int32_t index, bool withOffset = true) const;
    std::optional<Text> subMatchAt(int32_t index, int32_t subIndex) const;

#ifdef _WIN32
    bool holdsInitialisation = false;
    ComRef<IDispatch> regExp;
    ComRef<IDispatch> matchList;
#else
    struct Pattern;
    struct MatchList;
    std::shared_ptr<const Pattern> regExp;
    std::shared_ptr<const MatchList> matchList;
#endif
    Text searchedText;
};
