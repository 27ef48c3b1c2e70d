#include "ui/ui_driver.h"

#include <cstring>

#include "convert/wide_text.h"
#include "ui/keyboard.h"
#include "ui/window_text.h"

namespace driver {

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (handleWindowKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pump();
    }
    return true;
}

Text text(HWND window) {
    return fromWide(windowText(window));
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

RECT rectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void typeCharacters(HWND edit, const std::wstring& characters) {
    for (wchar_t c : characters) PostMessageW(edit, WM_CHAR, c, 1);
    pump();
}

void pressKey(HWND window, WORD virtualKey) {
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(window, WM_KEYDOWN, virtualKey, scanCode | 1);
    PostMessageW(window, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM{3} << 30));
    pump();
}

bool paste(HWND edit, const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    const bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (put) SendMessageW(edit, WM_PASTE, 0, 0);
    return put;
}

namespace {

struct Search {
    DWORD processId;
    std::wstring className;
    HWND found = nullptr;
};

BOOL CALLBACK findInProcess(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && className(window) == search->className && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK countButton(HWND child, LPARAM context) {
    auto* seen = reinterpret_cast<SeenBox*>(context);
    if (className(child) == L"Button" && IsWindowVisible(child)) {
        ++seen->buttons;
        if (GetDlgCtrlID(child) == IDOK) seen->okButton = true;
    }
    return TRUE;
}

}  // namespace

HWND findWindow(DWORD processId, const std::wstring& className) {
    Search search{processId, className};
    for (int attempt = 0; attempt < 500 && !search.found; ++attempt) {
        EnumWindows(findInProcess, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(20);
    }
    return search.found;
}

SeenBox closeNextMessageBox(DWORD processId, HWND mainWindow, const std::function<void()>& beforeClosing) {
    SeenBox seen;
    const HWND box = findWindow(processId, L"#32770");
    if (!box) return seen;
    seen.found = true;
    seen.caption = windowText(box);
    constexpr int kMessageTextId = 0xFFFF;
    seen.text = windowText(GetDlgItem(box, kMessageTextId));
    EnumChildWindows(box, countButton, reinterpret_cast<LPARAM>(&seen));
    // The icon is the one static that answers STM_GETICON with an icon.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (className(child) == L"Static" && IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0))
            seen.iconShown = true;
    seen.owner = GetWindow(box, GW_OWNER);
    if (mainWindow) {
        seen.mainWindowEnabled = IsWindowEnabled(mainWindow);
        seen.mainWindowVisible = IsWindowVisible(mainWindow);
    }
    if (beforeClosing) beforeClosing();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

}  // namespace driver
