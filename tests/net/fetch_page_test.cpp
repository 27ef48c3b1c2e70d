#include "net/fetch.h"

#include <gtest/gtest.h>

TEST(FetchPage, EmptyUrlGivesNoBytes) { EXPECT_TRUE(fetchPage("").empty()); }
