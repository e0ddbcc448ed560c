#include <gtest/gtest.h>
#include "core/String.h"
TEST(Smoke, Builds) { EXPECT_EQ(qv::str("a")->length(), 1); }
