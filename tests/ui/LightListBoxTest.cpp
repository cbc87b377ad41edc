#include "ColumnWidths.h"
#include "LightListBox.h"
#include "TestApp.h"
#include "WindowFixture.h"

#include <QHeaderView>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <numeric>

namespace {

class LightListBoxTest : public ::testing::Test {
protected:
    LightListBoxTest() { m_list.setGeometry(0, 0, 335, 338); }

    QStringList row(int index) const
    {
        QStringList cells;
        for (int column = 0; column < LightListBox::ColumnCount; ++column)
            cells.append(m_list.topLevelItem(index)->text(column));
        return cells;
    }

    QList<int> widths() const
    {
        QList<int> widths;
        for (int column = 0; column < LightListBox::ColumnCount; ++column)
            widths.append(m_list.header()->sectionSize(column));
        return widths;
    }

    int total() const
    {
        const QList<int> all = widths();
        return std::accumulate(all.begin(), all.end(), 0);
    }

    void addRows(int count)
    {
        for (int row = 0; row < count; ++row)
            m_list.AddRow({QString::number(row), "Unit", "On", "50"});
    }

    LightListBox m_list;
};

TEST_F(LightListBoxTest, StartsWithFourHeadingsAndNoRows)
{
    const QTreeWidgetItem* heading = m_list.headerItem();
    EXPECT_EQ(m_list.columnCount(), 4);
    EXPECT_EQ((QStringList{heading->text(0), heading->text(1), heading->text(2), heading->text(3)}),
              (QStringList{"#", "Name", "State", "Value"}));
    EXPECT_EQ(m_list.ListCount(), 0);
    EXPECT_FALSE(m_list.rootIsDecorated());
    EXPECT_EQ(m_list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(m_list.header()->sectionResizeMode(1), QHeaderView::Interactive);
}

TEST_F(LightListBoxTest, AddRowAppendsAndSetRowReplacesOneRow)
{
    m_list.AddRow({"0", "Kitchen", "On", "60"});
    m_list.AddRow({"1", "Porch", "Off", "---"});
    m_list.setRow(0, {"0", "Hall", "Off", "0"});
    EXPECT_EQ(m_list.ListCount(), 2);
    EXPECT_EQ(row(0), (QStringList{"0", "Hall", "Off", "0"}));
    EXPECT_EQ(row(1), (QStringList{"1", "Porch", "Off", "---"}));
}

TEST_F(LightListBoxTest, CellsBeyondTheColumnsAreDroppedAndMissingOnesKeepTheirText)
{
    m_list.AddRow({"0", "Kitchen", "On", "60"});
    m_list.setRow(0, {"5", "Tab", "Name", "On", "7"});
    EXPECT_EQ(row(0), (QStringList{"5", "Tab", "Name", "On"}));
    m_list.setRow(0, {"9", "Short"});
    EXPECT_EQ(row(0), (QStringList{"9", "Short", "Name", "On"}));
}

TEST_F(LightListBoxTest, SettingAMissingRowThrows)
{
    m_list.AddRow({"0", "Kitchen", "On", "60"});
    try {
        m_list.setRow(1, {"1", "Porch", "Off", "---"});
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "light row 1 does not exist");
    }
}

struct UnitNameRow {
    const char* name;
    QString unitName;
};

void PrintTo(const UnitNameRow& row, std::ostream* out)
{
    *out << row.name;
}

class UnitNames : public LightListBoxTest, public ::testing::WithParamInterface<UnitNameRow> {};

// The first rebuild appends the row, every later one overwrites it: both
// must show the name whole, in its own cell.
TEST_P(UnitNames, AreShownWholeAtEveryRefresh)
{
    const QString unitName = GetParam().unitName;
    TestApp host(QStringLiteral(R"([{"name":"%1","ID":"1","dimmable":"true","value":"40"},)"
                                R"({"name":"Porch","ID":"2","dimmable":"false","value":"1"}])")
                     .arg(unitName));
    host.app.setLightRows(&m_list);
    for (int refresh = 0; refresh < 3; ++refresh) {
        SCOPED_TRACE(refresh);
        host.app.RefreshLightArray();
        ASSERT_EQ(m_list.ListCount(), 2);
        EXPECT_EQ(row(0), (QStringList{"0", unitName, "On", "40"}));
        EXPECT_EQ(row(1), (QStringList{"1", "Porch", "On", "---"}));
    }
}

// As the host sends them: the unit list carries a name's characters as they
// stand, control characters included.
INSTANTIATE_TEST_SUITE_P(
    Rows, UnitNames,
    ::testing::Values(UnitNameRow{"Plain", "Desk Lamp"}, UnitNameRow{"Tab", "Desk\tLamp"},
                      UnitNameRow{"Newline", "Desk\nLamp"}, UnitNameRow{"CarriageReturn", "Desk\rLamp"},
                      UnitNameRow{"AllThree", "\tDesk\r\nLamp\t\t"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LightListBoxTest, ReadWidthsSetTheSameWidthsAgain)
{
    m_list.setColumnWidths(".1*,8*, 1.428571, 1.428571*");
    const QString first = m_list.columnWidths();
    EXPECT_EQ(first.split(',').size(), 4);
    m_list.setColumnWidths("*,*,*,*");
    m_list.setColumnWidths(first);
    EXPECT_EQ(m_list.columnWidths(), first);
}

TEST_F(LightListBoxTest, DraggedBorderIsReadBack)
{
    m_list.setColumnWidths("*,*,*,*");
    m_list.header()->resizeSection(1, 150);
    const QString widths = m_list.columnWidths();
    EXPECT_EQ(widths.split(',').at(1), "150");
    m_list.setColumnWidths("*,*,*,*");
    m_list.setColumnWidths(widths);
    EXPECT_EQ(m_list.header()->sectionSize(1), 150);
}

TEST_F(LightListBoxTest, WidthsFillTheRoomLeftBesideTheScrollBar)
{
    m_list.setColumnWidths("*,*,*,*");
    EXPECT_EQ(total(), m_list.maximumViewportSize().width() - m_list.verticalScrollBar()->sizeHint().width());
}

TEST_F(LightListBoxTest, EveryColumnIsAtLeastAsWideAsItsHeading)
{
    m_list.setColumnWidths("1,1,1,1");
    for (int column = 0; column < LightListBox::ColumnCount; ++column) {
        EXPECT_EQ(m_list.minimumWidth(column), m_list.header()->sectionSizeHint(column));
        EXPECT_EQ(m_list.header()->sectionSize(column), m_list.minimumWidth(column));
    }
}

TEST_F(LightListBoxTest, TwoDigitNumbersWidenTheirColumnAndKeepTheTotal)
{
    m_list.setColumnWidths(".1*,8*, 1.428571, 1.428571*");
    addRows(3);
    const int totalBefore = total();
    const int oneDigit = m_list.minimumWidth(0);
    addRows(12);
    EXPECT_GT(m_list.minimumWidth(0), oneDigit);
    EXPECT_EQ(m_list.header()->sectionSize(0), m_list.minimumWidth(0));
    EXPECT_GE(m_list.header()->sectionSize(0), WindowFixture::widestNumber(m_list));
    EXPECT_EQ(total(), totalBefore);
}

TEST_F(LightListBoxTest, DragStopsAtTheMinimumThatTheWidthsTextKeeps)
{
    addRows(12);
    m_list.setColumnWidths("60,150,50,50");
    WindowFixture::dragBorder(*m_list.header(), 0, -50);
    WindowFixture::dragBorder(*m_list.header(), 3, -50);
    EXPECT_EQ(m_list.header()->sectionSize(0), m_list.minimumWidth(0));
    EXPECT_EQ(m_list.header()->sectionSize(3), m_list.minimumWidth(3));
    const QList<int> dragged = widths();
    m_list.setColumnWidths("*,*,*,*");
    m_list.setColumnWidths(ColumnWidths::format(dragged));
    EXPECT_EQ(widths(), dragged);
}

} // namespace
