#pragma once

#include <windows.h>

#include <ole2.h>

#include <cstdint>
#include <initializer_list>

#include "convert/text.h"
#include "textutil/com_ref.h"

// A VARIANT that is cleared when it goes, and with it the BSTR or object it holds.
class Variant {
  public:
    Variant() { VariantInit(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : value(other.value) { VariantInit(&other.value); }
    Variant& operator=(Variant&&) = delete;
    ~Variant() { VariantClear(&value); }

    VARIANT value;
};

Variant textVariant(const Text& text);
Variant boolVariant(bool flag);
Variant indexVariant(int32_t index);

// What a returned VARIANT holds, read the way the automation object's callers read it: a failed call
// (an empty VARIANT) gives the empty text, 0 or an empty reference.
Text variantText(const Variant& variant);
double variantNumber(const Variant& variant);
ComRef<IDispatch> variantObject(const Variant& variant);

// A late-bound call of object's member by name. kind is DISPATCH_METHOD, DISPATCH_PROPERTYGET (or both) or
// DISPATCH_PROPERTYPUT; arguments come in their natural order. A failure, or no object, gives an empty
// VARIANT.
Variant dispatchCall(IDispatch* object, const wchar_t* member, WORD kind,
                     std::initializer_list<const Variant*> arguments = {});
