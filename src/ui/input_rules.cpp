#include "ui/input_rules.h"

#include <commctrl.h>

#include "convert/wide_text.h"
#include "ui/window_text.h"

namespace {

constexpr UINT_PTR kInputRuleSubclassId = 1;

void normaliseOnFocusLoss(HWND edit, InputRule rule) {
    const Text current = fromWide(windowText(edit));
    const Text normalised = normaliseInput(current, rule);
    if (normalised == current) return;
    DWORD selectionStart = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    SetWindowTextW(edit, toWide(normalised).c_str());
    SendMessageW(edit, EM_SETSEL, selectionStart, static_cast<LPARAM>(selectionStart));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

LRESULT CALLBACK inputRuleProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR rule) {
    switch (msg) {
        case WM_CHAR:
            if (!acceptsTypedCharacter(static_cast<unsigned int>(wParam))) return 0;
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(edit, msg, wParam, lParam);
            normaliseOnFocusLoss(edit, static_cast<InputRule>(rule));
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, inputRuleProc, kInputRuleSubclassId);
            break;
    }
    return DefSubclassProc(edit, msg, wParam, lParam);
}

}  // namespace

bool applyInputRule(HWND edit, InputRule rule) {
    return SetWindowSubclass(edit, inputRuleProc, kInputRuleSubclassId, static_cast<DWORD_PTR>(rule)) !=
           FALSE;
}
