#pragma once

#include <gtest/gtest.h>

#include "app/globals.h"
#include "fakes/fake_net.h"
#include "fakes/fake_ui.h"

// Each handler test starts from the program's start: empty fields, no pages, the initial shared state.
class HandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::resetUi();
        fake::resetNet();
        initGlobals();
    }
};
