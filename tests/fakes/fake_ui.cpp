#include "fakes/fake_ui.h"

namespace fake {

void resetUi() {
    controls.clear();
    controls[Control::scheduleInput] = "0时0分0秒";
    controls[Control::clockLabel] = "时间显示区";
    messages.clear();
    whileMessageBoxOpen = nullptr;
}

}  // namespace fake

Text getControlText(Control control) {
    return fake::controls[control];
}

void setControlText(Control control, const Text& text) {
    fake::controls[control] = text;
}

void messageBox(const Text& text) {
    fake::messages.push_back(text);
    if (fake::whileMessageBoxOpen) fake::whileMessageBoxOpen(text);
}

void reportFatalError(int32_t code, const Text& message) {
    throw fake::FatalError{code, message};
}
