#include "ui/main_window.h"

#include <array>

#include "clock/clock.h"
#include "convert/wide_text.h"
#include "stats/handlers.h"
#include "ui/fatal_error.h"
#include "ui/input_rules.h"
#include "ui/label.h"

namespace {

enum class Kind { singleLineEdit, multiLineEdit, readOnlyView, button, label };

struct ChildLayout {
    Child child;
    Kind kind;
    int left, top, width, height;
    const char* text;
    COLORREF colour;  // a label's text colour
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(128, 224, 0);

// Topmost first: each child goes in below the ones before it.
constexpr std::array<ChildLayout, kChildCount> kChildren{{
    {Child::scheduleInput, Kind::singleLineEdit, 251, 1, 85, 24, "0时0分0秒", kBlack},
    {Child::label5, Kind::label, 144, 1, 112, 24, "设置自动查询时间：", kBlack},
    {Child::clockLabel, Kind::label, 64, 1, 72, 24, "时间显示区", kBlack},
    {Child::label3, Kind::label, 3, 5, 56, 16, "北京时间：", kGreen},
    {Child::label2, Kind::label, 212, 35, 138, 18, "输入出价最后一个时间：", kRed},
    {Child::lastTimeInput, Kind::singleLineEdit, 210, 53, 126, 24, "", kBlack},
    {Child::computeButton, Kind::button, 344, 53, 56, 24, "计算数据", kBlack},
    {Child::whatIfView, Kind::multiLineEdit, 208, 80, 270, 250, "", kBlack},
    {Child::label1, Kind::label, 5, 32, 104, 19, "商品总需参与人次：", kRed},
    {Child::totalInput, Kind::singleLineEdit, 6, 53, 56, 24, "", kBlack},
    {Child::viewButton, Kind::button, 68, 53, 56, 24, "查看数据", kBlack},
    {Child::recordView, Kind::readOnlyView, 5, 80, 203, 250, "", kBlack},
}};

constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kMultiLineStyle =
    ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP;

HWND theMainWindow = nullptr;
std::array<HWND, kChildCount> children{};
HWND lastFocus = nullptr;
HFONT windowFont = nullptr;

const wchar_t* className(Kind kind) {
    switch (kind) {
        case Kind::button:
            return L"BUTTON";
        case Kind::label:
            return kLabelClass;
        default:
            return L"EDIT";
    }
}

DWORD childStyle(Kind kind) {
    const DWORD common = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case Kind::singleLineEdit:
            return common | ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
        case Kind::multiLineEdit:
            return common | ES_LEFT | kMultiLineStyle;
        case Kind::readOnlyView:
            return common | ES_LEFT | kMultiLineStyle | ES_READONLY;
        case Kind::button:
            return common | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | WS_TABSTOP;
        case Kind::label:
            // The label lies under scheduleInput's left edge and must not paint over it.
            return common | WS_CLIPSIBLINGS;
    }
    return common;
}

bool isEdit(Kind kind) {
    return kind != Kind::button && kind != Kind::label;
}

bool createChild(HWND parent, const ChildLayout& layout) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HWND child = CreateWindowExW(
        isEdit(layout.kind) ? WS_EX_CLIENTEDGE : 0, className(layout.kind), toWide(layout.text).c_str(),
        childStyle(layout.kind), layout.left, layout.top, layout.width, layout.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.child) + 100), instance, nullptr);
    if (!child) return false;
    children[static_cast<size_t>(layout.child)] = child;
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (layout.kind == Kind::label) setLabelColour(child, layout.colour);
    if (isEdit(layout.kind)) SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
    if (layout.child == Child::totalInput) return applyInputRule(child, InputRule::integer);
    if (layout.child == Child::lastTimeInput) return applyInputRule(child, InputRule::longInteger);
    return true;
}

bool onCreate(HWND window) {
    theMainWindow = window;
    for (const ChildLayout& layout : kChildren)
        if (!createChild(window, layout)) return false;
    return SetTimer(window, kClockTimerId, kClockIntervalMs, nullptr) != 0;
}

void onTimer(UINT_PTR id) {
    if (id == kClockTimerId && !handlersStopped()) onClockTick();
}

void onCommand(HWND control, UINT notification) {
    if (notification != BN_CLICKED || handlersStopped()) return;
    if (control == childWindow(Child::viewButton)) onViewData();
    if (control == childWindow(Child::computeButton)) onCompute();
}

// Edit boxes are black on white, the read-only recordView too (a read-only box asks as a static would).
LRESULT onEditColours(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

// Coming back to the window puts the focus where it was, or into the first box to fill in.
void onSetFocus() {
    const HWND target = lastFocus && IsWindow(lastFocus) ? lastFocus : childWindow(Child::totalInput);
    if (target) SetFocus(target);
}

void onActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(theMainWindow, focus)) lastFocus = focus;
    }
}

void onDestroy(HWND window) {
    KillTimer(window, kClockTimerId);
    theMainWindow = nullptr;
    children.fill(nullptr);
    lastFocus = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return onCreate(window) ? 0 : -1;
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case WM_COMMAND:
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == childWindow(Child::recordView) || msg == WM_CTLCOLOREDIT)
                return onEditColours(reinterpret_cast<HDC>(wParam));
            break;
        case WM_ACTIVATE:
            onActivate(wParam);
            break;
        case WM_SETFONT:
            windowFont = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(windowFont);
        case WM_SETFOCUS:
            onSetFocus();
            return 0;
        case WM_DESTROY:
            onDestroy(window);
            return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool openMainWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registerMainWindowClass(instance) || !registerLabelClass(instance)) return false;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
    const HWND window =
        CreateWindowExW(0, kMainWindowClass, toWide(kMainWindowCaption).c_str(), kMainWindowStyle, left, top,
                        kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    onWindowCreated();
    if (IsWindow(window)) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    return true;
}

HWND mainWindow() {
    return theMainWindow;
}

HWND childWindow(Child child) {
    return children[static_cast<size_t>(child)];
}
