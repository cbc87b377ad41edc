#include "LightListBox.h"
#include "MainWindow.h"
#include "Program.h"
#include "TestEnvironment.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <chrono>

namespace {

struct DragRow {
    const char* name;
    int column;
    int distance; // in pixels; negative: to the left
};

void PrintTo(const DragRow& row, std::ostream* out)
{
    *out << row.name;
}

QList<int> widthsOf(const LightListBox& list)
{
    QList<int> widths;
    for (int column = 0; column < LightListBox::ColumnCount; ++column)
        widths.append(list.header()->sectionSize(column));
    return widths;
}

// Twelve lights, so "#" shows two digits. Each run starts the program on the
// same settings store, lets `act` work in the window and quits with the
// Quit shortcut.
class Restart : public WindowFixture, public ::testing::WithParamInterface<DragRow> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        setUnitListText(unitList(12));
    }

    int run(const std::function<void(ui::MainWindow&)>& act)
    {
        ui::Program program(m_app);
        ui::MainWindow& window = MainWindow();
        QApplication::setActiveWindow(&window);
        act(window);
        QTimer::singleShot(0, [&] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); });
        QTimer::singleShot(QuitTimeout, [] { QCoreApplication::exit(QuitTimedOut); });
        return program.exec();
    }
};

TEST_P(Restart, DraggedWidthsComeBackAndAreStoredAgainUnchanged)
{
    TOLVANE_REQUIRE_NETNS();
    const DragRow& row = GetParam();
    QList<int> before, dragged, minimums;
    ASSERT_EQ(run([&](ui::MainWindow& window) {
                  before = widthsOf(*window.lbLights());
                  WindowFixture::dragBorder(*window.lbLights()->header(), row.column, row.distance);
                  dragged = widthsOf(*window.lbLights());
                  for (int column = 0; column < LightListBox::ColumnCount; ++column)
                      minimums.append(window.lbLights()->minimumWidth(column));
              }),
              0);
    const QString storedFirst = stored(ColumnWidthsKey).toText();
    EXPECT_EQ(dragged[row.column], std::max(before[row.column] + row.distance, minimums[row.column]));
    for (int column = 0; column < LightListBox::ColumnCount; ++column)
        EXPECT_GE(dragged[column], minimums[column]) << column;

    QList<int> restored;
    ASSERT_EQ(run([&](ui::MainWindow& window) { restored = widthsOf(*window.lbLights()); }), 0);
    EXPECT_EQ(restored, dragged);
    EXPECT_EQ(stored(ColumnWidthsKey).toText(), storedFirst);
}

INSTANTIATE_TEST_SUITE_P(Rows, Restart,
                         ::testing::Values(DragRow{"NumberWider", 0, 25},
                                           DragRow{"NumberNarrowerThanItsNumbers", 0, -40},
                                           DragRow{"NameNarrower", 1, -80},
                                           DragRow{"StateWider", 2, 20},
                                           DragRow{"ValueNarrowerThanItsHeading", 3, -60}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
