#include "ui/label.h"

#include "ui/window_text.h"

namespace {

// The label keeps its colour and font in its window extra bytes.
constexpr int kColourOffset = 0;
constexpr int kFontOffset = sizeof(LONG_PTR);

void paintLabel(HWND label, HDC dc) {
    RECT rect;
    GetClientRect(label, &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring text = windowText(label);
    const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, kFontOffset));
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, labelColour(label));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
}

void onPaint(HWND label) {
    PAINTSTRUCT ps;
    BeginPaint(label, &ps);
    paintLabel(label, ps.hdc);
    EndPaint(label, &ps);
}

LRESULT CALLBACK labelProc(HWND label, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            onPaint(label);
            return 0;
        case WM_PRINTCLIENT:
            paintLabel(label, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the whole rectangle itself
        case WM_SETFONT:
            SetWindowLongPtrW(label, kFontOffset, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(label, kFontOffset);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(label, msg, wParam, lParam);
            InvalidateRect(label, nullptr, TRUE);
            return result;
        }
    }
    return DefWindowProcW(label, msg, wParam, lParam);
}

}  // namespace

bool registerLabelClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = labelProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kLabelClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void setLabelColour(HWND label, COLORREF colour) {
    SetWindowLongPtrW(label, kColourOffset, static_cast<LONG_PTR>(colour));
    InvalidateRect(label, nullptr, TRUE);
}

COLORREF labelColour(HWND label) {
    return static_cast<COLORREF>(GetWindowLongPtrW(label, kColourOffset));
}
