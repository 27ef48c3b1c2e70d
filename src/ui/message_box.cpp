#include "ui/controls.h"

#include <windows.h>

#include "convert/wide_text.h"

void messageBox(const Text& text) {
    MessageBoxW(nullptr, toWide(text).c_str(), toWide("信息：").c_str(), MB_OK | MB_TASKMODAL);
}
