#include <gtest/gtest.h>
TEST(FreshProcess, Placeholder) {}
