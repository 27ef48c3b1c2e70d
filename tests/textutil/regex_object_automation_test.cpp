#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <thread>

#include "textutil/keep_digits.h"
#include "textutil/regex_object.h"

// Each case runs on a thread of its own, so that its apartment starts uninitialised.
template <class Body>
void onFreshThread(Body body) {
    std::thread(body).join();
}

TEST(RegexObjectAutomation, ACopyEndsOnlyTheInitialisationItTook) {
    onFreshThread([] {
        RegexObject source;
        { const RegexObject copied = source.copy(); }
        const HRESULT again = CoInitialize(nullptr);
        EXPECT_EQ(again, S_FALSE);  // the source's initialisation still stands
        if (SUCCEEDED(again)) CoUninitialize();
    });
}

TEST(RegexObjectAutomation, LeavesAMultithreadedApartmentItDidNotEnter) {
    onFreshThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            RegexObject regex;
            EXPECT_TRUE(regex.execute("[0-9]", "a1b2"));
            EXPECT_EQ(regex.matchCount(), 2);
            EXPECT_EQ(keepDigits("2013-07-07"), "20130707");
        }
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(again, S_FALSE);  // still the apartment this thread entered
        if (SUCCEEDED(again)) CoUninitialize();
        CoUninitialize();
    });
}

TEST(RegexObjectAutomation, RunsAgainAfterTheThreadLeftItsApartment) {
    onFreshThread([] {
        EXPECT_EQ(keepDigits("a1"), "1");
        ASSERT_EQ(CoInitialize(nullptr), S_FALSE);  // the held class factory keeps one
        CoUninitialize();
        EXPECT_EQ(keepDigits("b2c3"), "23");
    });
}
