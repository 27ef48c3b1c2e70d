#include <thread>

#include "convert/wide_text.h"
#include "ui/controls.h"
#include "ui/main_window_fixture.h"

TEST_F(MainWindow, MessageBoxIsTaskModalWithCaptionOkOnlyNoIconNoOwner) {
    driver::SeenBox seen;
    const HWND window = mainWindow();
    std::thread closer([&] { seen = driver::closeNextMessageBox(GetCurrentProcessId(), window); });
    messageBox("请输入商品总需参与人次！");
    closer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, toWide("信息："));
    EXPECT_EQ(seen.text, toWide("请输入商品总需参与人次！"));
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.okButton);
    EXPECT_FALSE(seen.iconShown);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_FALSE(seen.mainWindowEnabled);  // task-modal: the program's windows take no input meanwhile
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(MainWindow, TimerStillTicksWhileAMessageBoxIsOpen) {
    driver::SeenBox seen;
    const HWND window = mainWindow();
    std::thread closer([&] {
        // Waits for a tick dispatched by the box's own loop before closing it.
        for (int i = 0; i < 500 && doubles::count("onClockTick") == 0; ++i) Sleep(20);
        seen = driver::closeNextMessageBox(GetCurrentProcessId(), window);
    });
    PostMessageW(window, WM_TIMER, kClockTimerId, 0);
    messageBox("x");
    closer.join();
    EXPECT_TRUE(seen.found);
    EXPECT_GE(doubles::count("onClockTick"), 1);
}

TEST(MainWindowStart, MessageBoxOfOnWindowCreatedShowsWhileTheWindowIsHidden) {
    doubles::reset();
    driver::SeenBox seen;
    doubles::whenWindowCreated = [&] {
        const HWND window = mainWindow();
        std::thread closer([&] { seen = driver::closeNextMessageBox(GetCurrentProcessId(), window); });
        messageBox("未连接到互联网");
        closer.join();
        doubles::calls.emplace_back("box closed");
    };
    ASSERT_TRUE(openMainWindow());
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.mainWindowVisible);
    EXPECT_TRUE(IsWindowVisible(mainWindow()));
    EXPECT_EQ(doubles::calls, (std::vector<std::string>{"onWindowCreated", "box closed"}));
    DestroyWindow(mainWindow());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    doubles::reset();
}
