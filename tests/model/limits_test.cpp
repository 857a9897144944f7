#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rules/limits.hpp"
#include "rules/settle_methods.hpp"

using namespace kova;

namespace {

TEST(Limits, EveryItemHasANameAndAnOrderedRange) {
    for (int i = 0; i < static_cast<int>(Item::Count_); ++i) {
        const Limit& l = LimitOf(static_cast<Item>(i));
        EXPECT_NE(std::string(l.name), "") << i;
        EXPECT_LE(l.lo, l.hi) << i;
        EXPECT_TRUE(WithinLimit(static_cast<Item>(i), l.lo)) << i;
        EXPECT_TRUE(WithinLimit(static_cast<Item>(i), l.hi)) << i;
    }
}

TEST(Limits, RefusesAbsurdMagnitudesCodesAndNonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        Item item;
        double v;
        bool ok;
    } cases[] = {
        {Item::X, -250.5, true},           {Item::Y, 1e103, false},
        {Item::PointLoad, 1e303, false},   {Item::PointLoad, -500, true},
        {Item::DrainSpacing, 1e300, false}, {Item::PermRatio, 1e308, false},
        {Item::UnitWeight, 1e308, false},  {Item::UnitWeight, 18.5, true},
        {Item::SettleMethod, 65537, false}, {Item::SettleMethod, 7, false},
        {Item::SettleMethod, -1, false},   {Item::SettleMethod, 4, true},
        {Item::SettleMethod, 1.5, false},  {Item::Stage, 0, false},
        {Item::X, inf, false},             {Item::Y, std::nan(""), false},
        {Item::ReplaceRatio, 1.01, false}, {Item::ObsSettlement, -0.35, true},
    };
    for (const Case& c : cases) EXPECT_EQ(WithinLimit(c.item, c.v), c.ok) << ItemName(c.item) << " " << c.v;
}

TEST(Limits, NarrowingChecksTheRangeFirst) {
    EXPECT_EQ(CheckedInt16(Item::SettleMethod, 3), std::optional<std::int16_t>(3));
    EXPECT_FALSE(CheckedInt16(Item::SettleMethod, 65537));  // would wrap to 1
    EXPECT_FALSE(CheckedInt16(Item::NValue, -1));
    EXPECT_FALSE(CheckedInt16(Item::ObsSwitch, 32768));
    EXPECT_EQ(CheckedInt32(Item::ObsLeaveDays, 36500), std::optional<std::int32_t>(36500));
    EXPECT_FALSE(CheckedInt32(Item::ObsLeaveDays, 4294967296LL + 365));
}

TEST(Limits, MessageNamesTheItemUnitAndRange) {
    EXPECT_EQ(LimitRangeText(Item::Stage), "1～5");
    EXPECT_EQ(LimitMessage(Item::UnitWeight), "単位体積重量(kN/m3)は0～100の範囲で指定してください。");
    // The methods' codes are those of their table, so a new method widens it.
    EXPECT_EQ(LimitOf(Item::SettleMethod).hi, kMethodCount - 1);
    EXPECT_EQ(LimitMessage(Item::SettleMethod),
              "沈下計算方法は0～" + std::to_string(kMethodCount - 1) + "の範囲で指定してください。");
    EXPECT_EQ(LimitRangeText(Item::PointLoad), "-1000000～1000000");
}

}  // namespace
