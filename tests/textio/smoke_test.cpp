#include <gtest/gtest.h>
#include "textio/listline.hpp"
TEST(Smoke, X) { EXPECT_EQ(kova::FormatReal(1000), "1000"); }
