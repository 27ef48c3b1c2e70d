#include "textutil/dispatch_call.h"

#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "convert/wide_text.h"

Variant textVariant(const Text& text) {
    const std::wstring wide = toWide(text);
    Variant variant;
    variant.value.vt = VT_BSTR;
    variant.value.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return variant;
}

Variant boolVariant(bool flag) {
    Variant variant;
    variant.value.vt = VT_BOOL;
    variant.value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return variant;
}

Variant indexVariant(int32_t index) {
    Variant variant;
    variant.value.vt = VT_I4;
    variant.value.lVal = index;
    return variant;
}

Text variantText(const Variant& variant) {
    Variant converted;
    if (variant.value.vt == VT_EMPTY ||
        FAILED(VariantChangeType(&converted.value, const_cast<VARIANT*>(&variant.value), 0, VT_BSTR)) ||
        !converted.value.bstrVal) {
        return {};
    }
    return fromWide(converted.value.bstrVal, SysStringLen(converted.value.bstrVal));
}

double variantNumber(const Variant& variant) {
    Variant converted;
    if (variant.value.vt == VT_EMPTY ||
        FAILED(VariantChangeType(&converted.value, const_cast<VARIANT*>(&variant.value), 0, VT_R8))) {
        return 0;
    }
    return converted.value.dblVal;
}

ComRef<IDispatch> variantObject(const Variant& variant) {
    if (variant.value.vt != VT_DISPATCH || !variant.value.pdispVal) return {};
    variant.value.pdispVal->AddRef();
    return ComRef<IDispatch>(variant.value.pdispVal);
}

namespace {

// The automation object's classes number their members from their type information, the same for every
// object of a class, so each name is looked up once per class (known by its table of functions) and
// thread. A name that the class lacks is remembered as DISPID_UNKNOWN.
DISPID memberId(IDispatch* object, const wchar_t* member) {
    thread_local std::map<std::pair<const void*, std::wstring>, DISPID> known;
    const void* objectClass = *reinterpret_cast<void* const*>(object);
    const auto [entry, added] = known.try_emplace({objectClass, member}, DISPID_UNKNOWN);
    if (added) {
        LPOLESTR name = const_cast<LPOLESTR>(member);
        if (FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &entry->second)))
            entry->second = DISPID_UNKNOWN;
    }
    return entry->second;
}

}  // namespace

Variant dispatchCall(IDispatch* object, const wchar_t* member, WORD kind,
                     std::initializer_list<const Variant*> arguments) {
    Variant result;
    if (!object) return result;
    const DISPID id = memberId(object, member);
    if (id == DISPID_UNKNOWN) return result;

    // DISPPARAMS lists the arguments last first. They stay owned by the caller; the callee only reads them.
    std::vector<VARIANT> reversed;
    for (auto it = std::rbegin(arguments); it != std::rend(arguments); ++it) reversed.push_back((*it)->value);
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = kind == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), put ? &putId : nullptr, static_cast<UINT>(reversed.size()),
                      put ? 1u : 0u};
    if (FAILED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, put ? nullptr : &result.value,
                              nullptr, nullptr))) {
        VariantClear(&result.value);
    }
    return result;
}
