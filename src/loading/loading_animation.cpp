#include "loading/loading_animation.h"

#include <windows.h>

#include <objbase.h>  // CLSIDFromString, which the lean <windows.h> leaves out

#include <cstring>

#include "app/globals.h"
#include "loading/dll_function.h"
#include "loading/load_dialog_proc.h"

namespace {

// GDI+'s start-up input, laid out as the platform lays it out: the callback is a pointer.
struct GraphicsStartupInput {
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};
using GdiplusStartupFunction = int WINAPI(ULONG_PTR* token, const GraphicsStartupInput* input, void* output);

DllFunction<GdiplusStartupFunction> gdiplusStartup{"GdiPlus.dll", "GdiplusStartup"};
DllFunction<decltype(::CLSIDFromString)> clsidFromString{"ole32.dll", "CLSIDFromString"};
DllFunction<decltype(::GetModuleHandleA)> getModuleHandle{"kernel32.dll", "GetModuleHandleA"};
DllFunction<decltype(::MultiByteToWideChar)> multiByteToWideChar{nullptr, "MultiByteToWideChar"};
DllFunction<decltype(::LoadCursorA)> loadCursor{"user32.dll", "LoadCursorA"};
DllFunction<decltype(::RegisterClassExA)> registerClassEx{"user32.dll", "RegisterClassExA"};

constexpr UINT kGbk = 936;
constexpr char kTimeDimension[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";
constexpr char kClassName[] = "DavuzLoadDialog";
constexpr UINT kClassStyle = CS_HREDRAW | CS_VREDRAW;
constexpr LONG_PTR kButtonFaceBrush = COLOR_BTNFACE + 1;
constexpr WORD kArrowCursor = 32512;

}  // namespace

int initLoadingAnimation() {
    registerLoadDialogClass();
    return 0;
}

void registerLoadDialogClass() {
    WNDCLASSEXA record{};
    startGraphics();

    timeDimensionId.reset();
    timeDimensionId = std::make_unique<std::array<unsigned char, 16>>();
    const std::vector<wchar_t> wideId = toWideText(kTimeDimension);
    CLSID id{};
    clsidFromString(wideId.data(), &id);
    std::memcpy(timeDimensionId->data(), &id, sizeof id);

    record.cbSize = sizeof record;
    record.style = kClassStyle;
    record.hInstance = getModuleHandle(nullptr);
    record.hIcon = nullptr;
    record.hCursor = loadCursor(nullptr, MAKEINTRESOURCEA(kArrowCursor));
    record.hbrBackground = reinterpret_cast<HBRUSH>(kButtonFaceBrush);
    record.lpszClassName = kClassName;
    record.lpfnWndProc = loadDialogProc;
    registerClassEx(&record);
}

int startGraphics() {
    const GraphicsStartupInput input{1, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    const int status = gdiplusStartup(&token, &input, nullptr);
    gdiplusToken = token;
    return status;
}

std::vector<wchar_t> toWideText(const Text& text) {
    const int units = multiByteToWideChar(kGbk, 0, text.c_str(), -1, nullptr, 0);
    // A text that cannot be converted still gives a terminated buffer.
    std::vector<wchar_t> wide(static_cast<size_t>(units > 0 ? units : 1), L'\0');
    if (units > 0) multiByteToWideChar(kGbk, 0, text.c_str(), -1, wide.data(), units);
    return wide;
}
