#include "ColumnWidths.h"

#include <gtest/gtest.h>

namespace {

struct ResolveRow {
    const char* name;
    const char* text;
    int available;
    QList<int> widths;
};

const ResolveRow ResolveRows[] = {
    // 1.428571 points round to 1; the shares .1 : 8 : 1.428571 split the other 332.
    {"DefaultWidths", ".1*,8*, 1.428571, 1.428571*", 333, {3, 279, 1, 50}},
    {"BareNumbersArePoints", "40,200,30,60", 500, {40, 200, 30, 60}},
    {"EqualShares", "*,*,*,*", 100, {25, 25, 25, 25}},
    {"PercentOfAvailable", "10%,50%,*,*", 200, {20, 100, 40, 40}},
    {"BlanksAroundEntries", " 10 , 2* ,  *, 1*", 110, {10, 50, 25, 25}},
    {"LeadingDecimalPoint", ".5*,.5*,1*,2", 102, {25, 25, 50, 2}},
    {"EmptyEntryTakesOneShare", "10,,*,2*", 90, {10, 20, 20, 40}},
    {"UnreadableEntriesTakeOneShare", "abc,1*,-5,x*", 100, {25, 25, 25, 25}},
    {"NonFiniteTakesOneShare", "inf,nan*,1*,1*", 100, {25, 25, 25, 25}},
    {"MissingEntriesTakeOneShare", "50", 200, {50, 50, 50, 50}},
    {"EmptyTextIsAllShares", "", 80, {20, 20, 20, 20}},
    {"ExtraEntriesIgnored", "10,20,30,40,50", 500, {10, 20, 30, 40}},
    {"FixedBeyondWidthLeavesSharesNothing", "300,200,*,*", 100, {300, 200, 0, 0}},
    {"ZeroSharesGetNothing", "0*,0*,0*,0*", 100, {0, 0, 0, 0}},
    {"RoundingFillsExactly", "1*,1*,1*,0*", 100, {33, 34, 33, 0}},
};

void PrintTo(const ResolveRow& row, std::ostream* out)
{
    *out << row.name;
}

class ColumnWidthsResolve : public ::testing::TestWithParam<ResolveRow> {};

TEST_P(ColumnWidthsResolve, GivesWidths)
{
    const ResolveRow& row = GetParam();
    EXPECT_EQ(ColumnWidths::resolve(QString::fromUtf8(row.text), 4, row.available), row.widths);
}

INSTANTIATE_TEST_SUITE_P(Rows, ColumnWidthsResolve, ::testing::ValuesIn(ResolveRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColumnWidths, FormatGivesBareNumbersThatResolveToTheSameWidths)
{
    const QList<int> widths = {3, 279, 1, 50};
    const QString text = ColumnWidths::format(widths);
    EXPECT_EQ(text, "3,279,1,50");
    EXPECT_EQ(text.count(QLatin1Char(',')), 3);
    for (int available : {0, 333, 1000})
        EXPECT_EQ(ColumnWidths::resolve(text, 4, available), widths);
}

} // namespace

namespace {

TEST(ColumnWidths, AtLeastRaisesNarrowColumnsFromTheWidest)
{
    struct Row {
        const char* name;
        QList<int> widths, minimums, expected;
    };
    const Row rows[] = {
        {"default widths keep their total", {3, 279, 1, 50}, {20, 40, 40, 40}, {20, 223, 40, 50}},
        {"nothing to raise", {30, 200, 50, 50}, {20, 40, 40, 40}, {30, 200, 50, 50}},
        {"no spare width grows the total", {10, 10, 10, 10}, {20, 20, 20, 20}, {20, 20, 20, 20}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ColumnWidths::atLeast(row.widths, row.minimums), row.expected) << row.name;
}

} // namespace
