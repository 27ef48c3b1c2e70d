#include "loading/loading_animation.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "app/globals.h"
#include "loading/animated_gif.h"
#include "loading/gdiplus_api.h"
#include "loading/load_dialog_proc.h"

namespace {

using Identifier = std::array<unsigned char, 16>;
constexpr Identifier kTimeDimension = {0x6D, 0xBD, 0xED, 0x6A, 0xB5, 0x3F, 0x8A, 0x41,
                                       0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72};

WNDCLASSEXA readClass() {
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "DavuzLoadDialog", &record));
    return record;
}

// A GIF decoded by GDI+ from memory, disposed of with the test.
struct DecodedGif {
    DecodedGif() {
        const auto gif = animatedGif();
        memory = GlobalAlloc(GMEM_MOVEABLE, gif.size());
        std::memcpy(GlobalLock(memory), gif.data(), gif.size());
        GlobalUnlock(memory);
        CreateStreamOnHGlobal(memory, TRUE, &stream);
        status = Gdiplus::DllExports::GdipLoadImageFromStream(stream, &image);
    }
    ~DecodedGif() {
        if (image) Gdiplus::DllExports::GdipDisposeImage(image);
        if (stream) stream->Release();
    }
    HGLOBAL memory = nullptr;
    IStream* stream = nullptr;
    Gdiplus::GpImage* image = nullptr;
    Gdiplus::GpStatus status = Gdiplus::GenericError;
};

TEST(LoadingAnimation, StartUpFillsTheTimeDimensionIdAndTheToken) {
    initGlobals();
    EXPECT_EQ(initLoadingAnimation(), 0);
    ASSERT_TRUE(timeDimensionId);
    EXPECT_EQ(*timeDimensionId, kTimeDimension);
    EXPECT_NE(gdiplusToken, 0u);
}

// The identifier is the one GDI+ itself gives the time dimension, and GDI+ is running: it counts the
// frames of an animated picture along it.
TEST(LoadingAnimation, GdiPlusRunsAndAnimatesAlongTheTimeDimensionId) {
    ASSERT_EQ(initLoadingAnimation(), 0);
    DecodedGif gif;
    ASSERT_EQ(gif.status, Gdiplus::Ok);

    UINT dimensions = 0;
    ASSERT_EQ(Gdiplus::DllExports::GdipImageGetFrameDimensionsCount(gif.image, &dimensions), Gdiplus::Ok);
    ASSERT_EQ(dimensions, 1u);
    GUID dimension{};
    ASSERT_EQ(Gdiplus::DllExports::GdipImageGetFrameDimensionsList(gif.image, &dimension, 1), Gdiplus::Ok);
    Identifier reported{};
    std::memcpy(reported.data(), &dimension, sizeof dimension);
    EXPECT_EQ(reported, *timeDimensionId);

    GUID ours{};
    std::memcpy(&ours, timeDimensionId->data(), sizeof ours);
    UINT frames = 0;
    EXPECT_EQ(Gdiplus::DllExports::GdipImageGetFrameCount(gif.image, &ours, &frames), Gdiplus::Ok);
    EXPECT_EQ(frames, 2u);
}

TEST(LoadingAnimation, RegistersTheClassAsAPlainButtonFaceWindowWithTheArrow) {
    ASSERT_EQ(initLoadingAnimation(), 0);
    const WNDCLASSEXA record = readClass();
    EXPECT_EQ(record.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(record.lpfnWndProc, loadDialogProc);
    EXPECT_EQ(record.cbClsExtra, 0);
    EXPECT_EQ(record.cbWndExtra, 0);
    EXPECT_EQ(record.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(record.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(record.hIcon, nullptr);
    EXPECT_EQ(record.hIconSm, nullptr);
    EXPECT_EQ(record.lpszMenuName, nullptr);
}

TEST(LoadingAnimation, ASecondRegistrationFailsSilentlyAndChangesNothing) {
    ASSERT_EQ(initLoadingAnimation(), 0);
    const WNDCLASSEXA before = readClass();
    ASSERT_FALSE(RegisterClassExA(&before));  // the class is there: every further registration fails

    registerLoadDialogClass();
    EXPECT_EQ(initLoadingAnimation(), 0);

    const WNDCLASSEXA after = readClass();
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(after.lpfnWndProc, before.lpfnWndProc);
    EXPECT_EQ(after.hCursor, before.hCursor);
    EXPECT_EQ(after.hbrBackground, before.hbrBackground);
    ASSERT_TRUE(timeDimensionId);
    EXPECT_EQ(*timeDimensionId, kTimeDimension);
}

TEST(LoadingAnimation, StartGraphicsReportsGdiPlusStatusAndKeepsTheToken) {
    gdiplusToken = 0;
    EXPECT_EQ(startGraphics(), Gdiplus::Ok);
    EXPECT_NE(gdiplusToken, 0u);
}

TEST(ToWideText, ConvertsAsCodePage936WithTheTerminatingZero) {
    struct Case {
        const char* name;
        Text text;
        std::vector<wchar_t> want;
    };
    for (const Case& c : {
             Case{"empty", "", {L'\0'}},
             Case{"ascii", "{6A}", {L'{', L'6', L'A', L'}', L'\0'}},
             Case{"chinese", "信息：", {0x4FE1, 0x606F, 0xFF1A, L'\0'}},
             Case{"mixed", "错误a", {0x9519, 0x8BEF, L'a', L'\0'}},
             Case{"stops at zero", Text("ab\0cd", 5), {L'a', L'b', L'\0'}},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toWideText(c.text), c.want);
    }
}

}  // namespace
