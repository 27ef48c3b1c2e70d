#include "ui/keyboard.h"

#include <array>

#include "ui/main_window.h"

namespace {

constexpr std::array kTabCycle{Child::recordView,   Child::viewButton,    Child::totalInput,
                               Child::whatIfView,   Child::computeButton, Child::lastTimeInput,
                               Child::scheduleInput};

bool takesFocus(HWND window) {
    return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool isInMainWindow(HWND window) {
    const HWND main = mainWindow();
    return main && window && (window == main || IsChild(main, window));
}

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

bool isKey(const MSG& msg, WPARAM virtualKey, WPARAM character) {
    return msg.message == WM_CHAR ? msg.wParam == character : msg.wParam == virtualKey;
}

}  // namespace

HWND nextInTabCycle(HWND from) {
    size_t start = kTabCycle.size() - 1;  // outside the cycle, the search begins at its first control
    for (size_t i = 0; i < kTabCycle.size(); ++i)
        if (childWindow(kTabCycle[i]) == from) start = i;
    for (size_t step = 1; step <= kTabCycle.size(); ++step) {
        const HWND candidate = childWindow(kTabCycle[(start + step) % kTabCycle.size()]);
        if (takesFocus(candidate)) return candidate;
    }
    return nullptr;
}

bool handleWindowKey(const MSG& msg) {
    if (!isKeyMessage(msg.message) || !isInMainWindow(msg.hwnd)) return false;
    if (isKey(msg, VK_TAB, L'\t')) {
        // Shift+Tab is used up as well, so that no Tab ever reaches an edit box.
        if (msg.message == WM_KEYDOWN && GetKeyState(VK_SHIFT) >= 0) {
            if (const HWND next = nextInTabCycle(GetFocus())) SetFocus(next);
        }
        return true;
    }
    if (isKey(msg, VK_ESCAPE, 0x1B)) {
        if (msg.message == WM_KEYDOWN) PostMessageW(mainWindow(), WM_CLOSE, 0, 0);
        return true;
    }
    if (isKey(msg, VK_RETURN, L'\r')) return msg.hwnd != childWindow(Child::whatIfView);
    if (msg.message != WM_CHAR && msg.wParam == VK_F1) return true;
    return false;
}
