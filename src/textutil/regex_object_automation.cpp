#include "textutil/regex_object.h"

#include <cmath>
#include <limits>

#include "convert/wide_text.h"
#include "textutil/dispatch_call.h"

namespace {

constexpr wchar_t kProgId[] = L"VBScript.RegExp";
constexpr WORD kGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

// The class factory is held for the thread's life, with an initialisation of its own that keeps the
// apartment and the object's library loaded between objects: a new object from it costs microseconds
// where a cold creation costs a millisecond and more. The process ends with it.
IClassFactory* regExpFactory() {
    thread_local IClassFactory* held = nullptr;
    if (held) return held;
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(kProgId, &clsid))) return nullptr;
    if (FAILED(CoInitialize(nullptr))) return nullptr;
    if (FAILED(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&held)))) {
        held = nullptr;
        CoUninitialize();
    }
    return held;
}

ComRef<IDispatch> createRegExp() {
    ComRef<IDispatch> regExp;
    if (IClassFactory* factory = regExpFactory()) {
        factory->CreateInstance(nullptr, IID_PPV_ARGS(regExp.put()));
    } else {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(kProgId, &clsid))) {
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(regExp.put()));
        }
    }
    return regExp;
}

void putProperty(IDispatch* object, const wchar_t* member, const Variant& value) {
    dispatchCall(object, member, DISPATCH_PROPERTYPUT, {&value});
}

Variant getProperty(IDispatch* object, const wchar_t* member) {
    return dispatchCall(object, member, kGet);
}

ComRef<IDispatch> item(IDispatch* collection, int32_t index) {
    const Variant position = indexVariant(index);
    return variantObject(dispatchCall(collection, L"Item", kGet, {&position}));
}

int32_t truncateToInt32(double number) {
    if (std::isnan(number)) return 0;
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(number < low ? low : number > high ? high : number));
}

int32_t countOf(IDispatch* collection) {
    return truncateToInt32(variantNumber(getProperty(collection, L"Count")));
}

// The object counts UTF-16 code units of the converted text. Converting character by character, as code
// page 936 reads them, gives the same count and the byte offset at which it is reached.
int32_t byteOffsetOfUnit(const Text& text, int32_t unit) {
    size_t units = 0;
    size_t at = 0;
    const auto target = static_cast<size_t>(unit < 0 ? 0 : unit);
    while (at < text.size() && units < target) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead >= 0x81 && lead <= 0xFE && at + 1 < text.size() ? 2 : 1;
        const size_t characterUnits = toWide(text.substr(at, length)).size();
        if (units + characterUnits > target)
            return static_cast<int32_t>(at + (characterUnits == length ? target - units : 0));
        units += characterUnits;
        at += length;
    }
    return static_cast<int32_t>(at);
}

}  // namespace

RegexObject::RegexObject() : holdsInitialisation(SUCCEEDED(CoInitialize(nullptr))) {}

// The objects go while this thread's initialisation still stands, and only one that was taken here ends.
RegexObject::~RegexObject() {
    regExp.reset();
    searchedText.clear();
    matchList.reset();
    if (holdsInitialisation) CoUninitialize();
}

RegexObject::RegexObject(const RegexObject& source)
    : holdsInitialisation(SUCCEEDED(CoInitialize(nullptr))),
      regExp(source.regExp.share()),
      matchList(source.matchList.share()),
      searchedText(source.searchedText) {}

bool RegexObject::execute(const Text& pattern, const Text& sourceText, bool caseSensitive, bool multiline,
                          bool global) {
    regExp.reset();
    regExp = createRegExp();
    putProperty(regExp.get(), L"IgnoreCase", boolVariant(!caseSensitive));
    putProperty(regExp.get(), L"Multiline", boolVariant(multiline));
    putProperty(regExp.get(), L"Singleline", boolVariant(true));  // no such member: the write has no effect
    putProperty(regExp.get(), L"Global", boolVariant(global));
    putProperty(regExp.get(), L"Pattern", textVariant(pattern));
    const Variant text = textVariant(sourceText);
    matchList = variantObject(dispatchCall(regExp.get(), L"Execute", DISPATCH_METHOD, {&text}));
    searchedText = sourceText;
    return static_cast<bool>(matchList);
}

Text RegexObject::getPattern() const {
    return regExp ? variantText(getProperty(regExp.get(), L"Pattern")) : Text{};
}

Text RegexObject::replace(const Text& replacement) const {
    const Variant text = textVariant(searchedText);
    const Variant with = textVariant(replacement);
    return variantText(dispatchCall(regExp.get(), L"Replace", DISPATCH_METHOD, {&text, &with}));
}

int32_t RegexObject::matchCount() const {
    return countOf(matchList.get());
}

int32_t RegexObject::subMatchCount() const {
    const ComRef<IDispatch> first = item(matchList.get(), 0);
    return countOf(variantObject(getProperty(first.get(), L"SubMatches")).get());
}

std::optional<RegexObject::FoundMatch> RegexObject::matchAt(int32_t index, bool withOffset) const {
    if (index < 0 || index >= matchCount()) return std::nullopt;
    const ComRef<IDispatch> match = item(matchList.get(), index);
    if (!match) return std::nullopt;
    // The offset costs a request and a walk over the text before the match, so it is worked out only when
    // asked for: keepDigits never asks.
    const int32_t offset =
        withOffset ? byteOffsetOfUnit(searchedText,
                                      truncateToInt32(variantNumber(getProperty(match.get(), L"FirstIndex"))))
                   : -1;
    return FoundMatch{variantText(getProperty(match.get(), L"Value")), offset};
}

std::optional<Text> RegexObject::subMatchAt(int32_t index, int32_t subIndex) const {
    const ComRef<IDispatch> match = item(matchList.get(), index);
    const ComRef<IDispatch> subMatches = variantObject(getProperty(match.get(), L"SubMatches"));
    if (!subMatches || subIndex < 0 || subIndex >= countOf(subMatches.get())) return std::nullopt;
    const Variant position = indexVariant(subIndex);
    return variantText(dispatchCall(subMatches.get(), L"Item", kGet, {&position}));
}
