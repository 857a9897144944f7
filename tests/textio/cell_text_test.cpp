#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "textio/cell_text.hpp"

namespace kova::grid {
namespace {

TEST(CellNumericValue, LeadingNumberOfTheText) {
    struct Case {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"", 0.0},          {"abc", 0.0},        {"1.5e2m", 150.0},   {"12 345", 12345.0},
        {"&H10", 16.0},     {"&o17", 15.0},      {"-2.5", -2.5},      {"+.5", 0.5},
        {"1D3", 1000.0},    {"1E", 1.0},         {"3.2.1", 3.2},      {" \t-\n4", -4.0},
        {"１２．５", 12.5}, {"－３", -3.0},      {"＋７", 7.0},       {"1E999", std::nullopt},
        {"-1E999", std::nullopt}, {"1E-999", 0.0}, {"-", 0.0},        {"12,5", 12.0},
    };
    for (const auto& c : cases) EXPECT_EQ(NumericValue(c.text), c.value) << c.text;
}

TEST(CellIntegerValue, HalvesToEvenWithinSixteenBits) {
    struct Case {
        const char* text;
        std::optional<std::int16_t> value;
    } cases[] = {
        {"2.5", 2},     {"3.5", 4},       {"-2.5", -2},         {"0.5", 0},         {"32767", 32767},
        {"-32768", -32768}, {"32767.5", std::nullopt}, {"40000", std::nullopt}, {"-32769", std::nullopt},
        {"1E999", std::nullopt}, {"４", 4}, {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(IntegerValue(c.text), c.value) << c.text;
    EXPECT_EQ(ToInt16(std::nan("")), std::nullopt);
}

TEST(CellFormat, PatternsOfTheTables) {
    struct Case {
        double v;
        const char* pattern;
        const char* text;
    } cases[] = {
        {1.23456, "0.000", "1.235"}, {-0.0004, "#0.000", "0.000"}, {2.5, "0", "3"},     {-2.5, "#0", "-3"},
        {0.5, "#.##", ".5"},        {12.0, "##0.000", "12.000"},  {1.5, "#0.000 ", "1.500 "}, {0, "#", ""},
        {1234.5678, "#0.0000", "1234.5678"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.v, c.pattern), c.text) << c.v << " " << c.pattern;
}

TEST(CellPattern, WhatAColumnMakesOfTypedText) {
    struct Case {
        const char* text;
        const char* pattern;
        const char* shown;
    } cases[] = {
        {"１２．５", "0.000", "12.500"}, {"", "0.000", ""},           {"abc", "0.000", "0.000"},
        {"1E999", "0.000", "1E999"},   {"名前 A", "", "名前 A"},     {"2024/1/5", "yyyy/mm/dd", "2024/01/05"},
        {"２０２４－０２－２９", "yyyy/mm/dd", "2024/02/29"}, {"2023/02/29", "yyyy/mm/dd", "2023/02/29"},
        {"x", "yyyy/mm/dd", "x"},         {"2.5", "#0", "2"},            {"3.5", "0", "4"},
        {"-2.5", "#0", "-2"},             {"2.5", "0.0", "2.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplyPattern(c.text, c.pattern), c.shown) << c.text;
}

TEST(CellDate, ValidDatesOnly) {
    EXPECT_EQ(ParseDate("2024/12/31"), (CellDate{2024, 12, 31}));
    EXPECT_EQ(ParseDate(" 1999.1.2 "), (CellDate{1999, 1, 2}));
    for (const char* bad : {"2024/13/01", "2024/04/31", "2023/02/29", "99/01/01", "2024/01", "2024/01/01/01",
                            "2024//01", "2024/01/", "abc", ""})
        EXPECT_EQ(ParseDate(bad), std::nullopt) << bad;
    EXPECT_EQ(FormatDate({987, 3, 4}), "0987/03/04");
}

TEST(CellFold, FullWidthFormsOnly) {
    EXPECT_EQ(FoldFullWidth("ＡＢ１２．－＋　名前"), "AB12.-+ 名前");
}

TEST(CellText, WholeNumbers) {
    for (const char* yes : {"1", "-1.5", "+.5", "1.", "1.5e2", "1.5D-2", "12 345", "&H1F", "&o17", "１２．５", "－３"})
        EXPECT_TRUE(IsWholeNumber(yes)) << yes;
    for (const char* no : {"", "abc", "l5.0", "1.5e2m", ".", "-", "1e", "&H", "&O8", "1,5", "1.2.3"})
        EXPECT_FALSE(IsWholeNumber(no)) << no;
    EXPECT_TRUE(IsBlankText(""));
    EXPECT_TRUE(IsBlankText(" \t\u3000"));
    EXPECT_FALSE(IsBlankText(" 0"));
}

}  // namespace
}  // namespace kova::grid
