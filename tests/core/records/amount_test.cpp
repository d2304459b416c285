#include "core/records/amount.h"

#include <gtest/gtest.h>

namespace tomvik::core {
namespace {

TEST(Amount, Placeholder) { EXPECT_EQ(FormatAmount(Amount{1234567}), "1,234,567"); }

}  // namespace
}  // namespace tomvik::core
