#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "ui/handler_doubles.h"
#include "ui/main_window.h"
#include "ui/ui_driver.h"

// A fresh mainWindow for each test, with recording handlers; destroyed afterwards.
class MainWindow : public testing::Test {
  protected:
    void SetUp() override {
        doubles::reset();
        ASSERT_TRUE(openMainWindow());
        driver::pump();
    }
    void TearDown() override {
        if (mainWindow()) DestroyWindow(mainWindow());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    static HWND child(Child which) { return childWindow(which); }
};
