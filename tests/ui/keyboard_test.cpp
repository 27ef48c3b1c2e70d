#include "ui/keyboard.h"

#include "ui/main_window_fixture.h"

namespace {

void setShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST_F(MainWindow, TabMovesAlongTheCycleAndWrapsAround) {
    const Child cycle[] = {Child::recordView,    Child::viewButton,    Child::totalInput,
                           Child::whatIfView,    Child::computeButton, Child::lastTimeInput,
                           Child::scheduleInput, Child::recordView};
    for (size_t i = 0; i + 1 < std::size(cycle); ++i) {
        SCOPED_TRACE(i);
        SetFocus(child(cycle[i]));
        driver::pressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), child(cycle[i + 1]));
    }
}

TEST_F(MainWindow, TabPassesOverDisabledAndHiddenControls) {
    EnableWindow(child(Child::viewButton), FALSE);
    ShowWindow(child(Child::totalInput), SW_HIDE);
    SetFocus(child(Child::recordView));
    driver::pressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), child(Child::whatIfView));
}

TEST_F(MainWindow, TabNeverReachesAnEditBoxAndShiftTabDoesNothing) {
    const HWND view = child(Child::whatIfView);
    SetFocus(view);
    setShift(true);
    driver::pressKey(view, VK_TAB);
    setShift(false);
    EXPECT_EQ(GetFocus(), view);
    PostMessageW(view, WM_CHAR, L'\t', 1);
    driver::pump();
    EXPECT_EQ(driver::text(view), "");
}

TEST_F(MainWindow, EnterBreaksTheLineOnlyInWhatIfView) {
    const HWND view = child(Child::whatIfView);
    SetFocus(view);
    driver::typeCharacters(view, L"a");
    driver::pressKey(view, VK_RETURN);
    driver::typeCharacters(view, L"b");
    EXPECT_EQ(driver::text(view), "a\r\nb");
    for (Child other : {Child::totalInput, Child::viewButton, Child::computeButton, Child::scheduleInput,
                        Child::recordView}) {
        SCOPED_TRACE(static_cast<int>(other));
        const Text before = driver::text(child(other));
        SetFocus(child(other));
        driver::pressKey(child(other), VK_RETURN);
        EXPECT_EQ(GetFocus(), child(other));
        EXPECT_EQ(driver::text(child(other)), before);
    }
    EXPECT_EQ(doubles::count("onViewData") + doubles::count("onCompute"), 0);
}

TEST_F(MainWindow, EscClosesTheWindowFromAnyControlAndF1DoesNothing) {
    driver::pressKey(child(Child::totalInput), VK_F1);
    EXPECT_NE(mainWindow(), nullptr);
    for (Child from :
         {Child::recordView, Child::totalInput, Child::viewButton, Child::whatIfView, Child::scheduleInput}) {
        SCOPED_TRACE(static_cast<int>(from));
        TearDown();
        SetUp();
        const HWND window = mainWindow();
        SetFocus(child(from));
        driver::pressKey(child(from), VK_ESCAPE);
        EXPECT_FALSE(IsWindow(window));
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(quit.wParam, 0u);
    }
    EXPECT_EQ(doubles::count("onViewData") + doubles::count("onCompute"), 0);
}
