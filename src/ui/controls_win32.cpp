#include "ui/controls.h"

#include <windows.h>

#include "convert/wide_text.h"
#include "ui/main_window.h"
#include "ui/window_text.h"

namespace {

Child childOf(Control control) {
    switch (control) {
        case Control::scheduleInput:
            return Child::scheduleInput;
        case Control::clockLabel:
            return Child::clockLabel;
        case Control::lastTimeInput:
            return Child::lastTimeInput;
        case Control::whatIfView:
            return Child::whatIfView;
        case Control::totalInput:
            return Child::totalInput;
        case Control::recordView:
            return Child::recordView;
    }
    return Child::recordView;
}

bool isEdit(Control control) {
    return control != Control::clockLabel;
}

}  // namespace

Text getControlText(Control control) {
    const HWND window = childWindow(childOf(control));
    return window ? fromWide(windowText(window)) : Text{};
}

void setControlText(Control control, const Text& text) {
    const HWND window = childWindow(childOf(control));
    if (!window) return;
    SetWindowTextW(window, toWide(text).c_str());
    if (isEdit(control)) {
        // The new text shows from its first line and first character.
        SendMessageW(window, EM_SETSEL, 0, 0);
        SendMessageW(window, EM_SCROLLCARET, 0, 0);
    }
}
