#pragma once

#include <windows.h>

#include "convert/text.h"

// The twelve child windows of mainWindow, topmost first; the timer has no window.
enum class Child {
    scheduleInput,  // 编辑框5
    label5,
    clockLabel,  // 标签4
    label3,
    label2,
    lastTimeInput,  // 编辑框4
    computeButton,  // 计算数据
    whatIfView,     // 编辑框3
    label1,
    totalInput,  // 编辑框2
    viewButton,  // 查看按钮
    recordView,  // 编辑框1
};
inline constexpr int kChildCount = 12;

inline constexpr UINT_PTR kClockTimerId = 1;
inline constexpr UINT kClockIntervalMs = 1000;

// The caption: the product name, three blanks and where to ask for help.
inline constexpr const char* kMainWindowCaption = "Qelvora   问题与建议：请到本项目的问题跟踪页反馈";
inline constexpr const wchar_t* kMainWindowClass = L"QelvoraMainWindow";
inline constexpr int kMainWindowWidth = 490;
inline constexpr int kMainWindowHeight = 368;

// Creates mainWindow hidden with its controls and timer, runs onWindowCreated, then shows the window if it
// still exists. Returns false when the window cannot be created.
bool openMainWindow();

// The window and its children while they exist, otherwise nullptr.
HWND mainWindow();
HWND childWindow(Child child);
