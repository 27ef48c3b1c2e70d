#include "ui/main_window.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cwctype>
#include <thread>
#include <vector>

#include "convert/wide_text.h"
#include "ui/controls.h"
#include "ui/label.h"
#include "ui/main_window_fixture.h"

namespace {

struct ChildCase {
    Child child;
    const wchar_t* className;
    RECT rect;  // left, top, right, bottom in the window's client area
    const char* text;
    DWORD stylesSet, stylesClear;
    bool clientEdge;
};

constexpr DWORD kMultiLine =
    ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_HSCROLL | WS_VSCROLL;
constexpr DWORD kButton = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | WS_TABSTOP;

// Topmost first, as the window lays them out.
const std::array<ChildCase, kChildCount> kTable{{
    {Child::scheduleInput,
     L"Edit",
     {251, 1, 336, 25},
     "0时0分0秒",
     ES_AUTOHSCROLL | WS_TABSTOP,
     ES_MULTILINE | ES_READONLY | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL,
     true},
    {Child::label5, kLabelClass, {144, 1, 256, 25}, "设置自动查询时间：", 0, WS_TABSTOP | WS_BORDER, false},
    {Child::clockLabel, kLabelClass, {64, 1, 136, 25}, "时间显示区", 0, WS_TABSTOP | WS_BORDER, false},
    {Child::label3, kLabelClass, {3, 5, 59, 21}, "北京时间：", 0, WS_TABSTOP | WS_BORDER, false},
    {Child::label2,
     kLabelClass,
     {212, 35, 350, 53},
     "输入出价最后一个时间：",
     0,
     WS_TABSTOP | WS_BORDER,
     false},
    {Child::lastTimeInput,
     L"Edit",
     {210, 53, 336, 77},
     "",
     ES_AUTOHSCROLL | WS_TABSTOP,
     ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER,
     true},
    {Child::computeButton, L"Button", {344, 53, 400, 77}, "计算数据", kButton, BS_DEFPUSHBUTTON, false},
    {Child::whatIfView,
     L"Edit",
     {208, 80, 478, 330},
     "",
     kMultiLine | WS_TABSTOP,
     ES_READONLY | ES_NOHIDESEL,
     true},
    {Child::label1, kLabelClass, {5, 32, 109, 51}, "商品总需参与人次：", 0, WS_TABSTOP | WS_BORDER, false},
    {Child::totalInput,
     L"Edit",
     {6, 53, 62, 77},
     "",
     ES_AUTOHSCROLL | WS_TABSTOP,
     ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | ES_NUMBER,
     true},
    {Child::viewButton, L"Button", {68, 53, 124, 77}, "查看数据", kButton, BS_DEFPUSHBUTTON, false},
    {Child::recordView,
     L"Edit",
     {5, 80, 208, 330},
     "",
     kMultiLine | ES_READONLY | WS_TABSTOP,
     ES_NOHIDESEL,
     true},
}};

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

}  // namespace

TEST_F(MainWindow, EachControlHasItsClassRectangleTextAndStyles) {
    for (const ChildCase& c : kTable) {
        const HWND window = child(c.child);
        SCOPED_TRACE(fromWide(c.className) + " " + c.text + " at " + std::to_string(c.rect.left));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(lower(driver::className(window)), lower(c.className));
        const RECT rect = driver::rectInParent(window);
        EXPECT_EQ(rect.left, c.rect.left);
        EXPECT_EQ(rect.top, c.rect.top);
        EXPECT_EQ(rect.right, c.rect.right);
        EXPECT_EQ(rect.bottom, c.rect.bottom);
        EXPECT_EQ(driver::text(window), c.text);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
        EXPECT_EQ(style & (c.stylesSet | WS_VISIBLE | WS_CHILD), c.stylesSet | WS_VISIBLE | WS_CHILD);
        EXPECT_EQ(style & c.stylesClear, 0u);
        EXPECT_TRUE(IsWindowEnabled(window));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
        EXPECT_EQ((exStyle & WS_EX_CLIENTEDGE) != 0, c.clientEdge);
        EXPECT_EQ(SendMessageW(window, WM_GETFONT, 0, 0),
                  reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
}

TEST_F(MainWindow, ControlsAreLayeredInTableOrderTopmostFirst) {
    std::vector<HWND> layered;
    for (HWND w = GetWindow(mainWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) layered.push_back(w);
    std::vector<HWND> want;
    for (const ChildCase& c : kTable) want.push_back(child(c.child));
    EXPECT_EQ(layered, want);
}

TEST_F(MainWindow, WindowHasCaptionSizeCentredPositionAndFixedFrame) {
    const HWND window = mainWindow();
    EXPECT_EQ(driver::text(window), kMainWindowCaption);
    EXPECT_EQ(Text(kMainWindowCaption).substr(0, 10), "Qelvora   ");
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 490);
    EXPECT_EQ(rect.bottom - rect.top, 368);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 490) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 368) / 2);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_MINIMIZE | WS_MAXIMIZE), 0u);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0u);
    EXPECT_EQ(SendMessageW(window, WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TEST_F(MainWindow, StartTextsAreTheGbkTextsOfTheControls) {
    EXPECT_EQ(getControlText(Control::scheduleInput), "0时0分0秒");
    EXPECT_EQ(getControlText(Control::clockLabel), "时间显示区");
    for (Control c :
         {Control::recordView, Control::whatIfView, Control::totalInput, Control::lastTimeInput}) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_EQ(getControlText(c), "");
    }
}

namespace {

// Renders a label as it paints itself and counts the pixels of each colour.
struct Rendering {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Rendering render(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    Rendering r{client.right, client.bottom, {}};
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, r.width, r.height);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) r.pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return r;
}

int channel(COLORREF c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

bool isBlend(COLORREF pixel, COLORREF face, COLORREF colour) {
    for (int shift : {0, 8, 16}) {
        const int p = channel(pixel, shift), a = channel(face, shift), b = channel(colour, shift);
        if (p < std::min(a, b) - 2 || p > std::max(a, b) + 2) return false;
    }
    return true;
}

int distance(COLORREF a, COLORREF b) {
    int sum = 0;
    for (int shift : {0, 8, 16}) sum += std::abs(channel(a, shift) - channel(b, shift));
    return sum;
}

}  // namespace

TEST_F(MainWindow, LabelsPaintTheirColourLeftAlignedAndCentredOnButtonFace) {
    struct Case {
        Child label;
        COLORREF colour;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const Case& c : {Case{Child::label5, RGB(0, 0, 0)}, Case{Child::clockLabel, RGB(0, 0, 0)},
                          Case{Child::label3, RGB(128, 224, 0)}, Case{Child::label2, RGB(255, 0, 0)},
                          Case{Child::label1, RGB(255, 0, 0)}}) {
        SCOPED_TRACE(driver::text(child(c.label)));
        const Rendering r = render(child(c.label));
        ASSERT_GT(r.width, 0);
        EXPECT_EQ(r.at(0, 0), face);
        EXPECT_EQ(r.at(r.width - 1, r.height - 1), face);
        // Every inked pixel blends the label's colour into the face (the font may be smoothed), and some are
        // near the colour itself.
        int inked = 0, strong = 0, left = r.width, top = r.height, bottom = -1;
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x) {
                const COLORREF p = r.at(x, y);
                if (p == face) continue;
                ++inked;
                left = std::min(left, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                EXPECT_TRUE(isBlend(p, face, c.colour))
                    << std::hex << p << " at " << std::dec << x << "," << y;
                if (distance(p, face) * 2 >= distance(c.colour, face)) ++strong;
            }
        EXPECT_GT(inked, 10);
        EXPECT_GT(strong, 0);
        EXPECT_LE(left, 3);                                     // left-aligned
        EXPECT_LE(std::abs(top - (r.height - 1 - bottom)), 4);  // centred vertically
    }
}

TEST_F(MainWindow, EditBoxesAreBlackOnWhiteAlsoWhenReadOnly) {
    const HDC dc = CreateCompatibleDC(nullptr);
    struct Case {
        UINT message;
        Child edit;
    };
    for (const Case& c :
         {Case{WM_CTLCOLORSTATIC, Child::recordView}, Case{WM_CTLCOLOREDIT, Child::whatIfView},
          Case{WM_CTLCOLOREDIT, Child::totalInput}}) {
        SCOPED_TRACE(static_cast<int>(c.edit));
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const auto brush = reinterpret_cast<HGDIOBJ>(SendMessageW(
            mainWindow(), c.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child(c.edit))));
        EXPECT_EQ(brush, GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    }
    DeleteDC(dc);
}

TEST_F(MainWindow, EditBoxesHaveNoLimitBelowTheSystemsMaximum) {
    for (Child edit : {Child::scheduleInput, Child::lastTimeInput, Child::whatIfView, Child::totalInput,
                       Child::recordView}) {
        SCOPED_TRACE(static_cast<int>(edit));
        EXPECT_GT(static_cast<DWORD>(SendMessageW(child(edit), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFDu);
    }
}

TEST_F(MainWindow, ControlTextsRoundTripAsGbkAndShowFromTheFirstLine) {
    Text lines;
    for (int i = 0; i < 200; ++i)
        lines += "第" + std::to_string(i) + "条记录 " + std::string(300, 'x') + "\r\n";
    struct Case {
        Control control;
        Text text;
    };
    for (const Case& c : {Case{Control::recordView, lines}, Case{Control::whatIfView, "合计：12\r\n余数：3"},
                          Case{Control::clockLabel, "13时5分9秒"}, Case{Control::scheduleInput, "0时0分1秒"},
                          Case{Control::totalInput, "100"}, Case{Control::lastTimeInput, ""}}) {
        SCOPED_TRACE(static_cast<int>(c.control));
        setControlText(c.control, c.text);
        EXPECT_EQ(getControlText(c.control), c.text);
    }
    const HWND view = child(Child::recordView);
    SendMessageW(view, EM_LINESCROLL, 50, 100);
    setControlText(Control::recordView, lines);
    EXPECT_EQ(SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    DWORD start = 1, end = 1;
    SendMessageW(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
}

TEST_F(MainWindow, TimerTicksAndClicksRunTheirHandlers) {
    PostMessageW(mainWindow(), WM_TIMER, kClockTimerId, 0);
    driver::pump();
    EXPECT_EQ(doubles::count("onClockTick"), 1);
    SendMessageW(child(Child::viewButton), BM_CLICK, 0, 0);
    EXPECT_EQ(doubles::count("onViewData"), 1);
    SendMessageW(child(Child::computeButton), BM_CLICK, 0, 0);
    EXPECT_EQ(doubles::count("onCompute"), 1);
    // The space bar presses the focused button.
    SetFocus(child(Child::computeButton));
    driver::pressKey(child(Child::computeButton), VK_SPACE);
    EXPECT_EQ(doubles::count("onCompute"), 2);
    EXPECT_EQ(doubles::count("onViewData"), 1);
    // The window's own timer ticks by itself.
    EXPECT_TRUE(driver::pumpUntil([] { return doubles::count("onClockTick") >= 2; }));
}
