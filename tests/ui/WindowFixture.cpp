#include "WindowFixture.h"

#include "LightListBox.h"
#include "SettingsStore.h"

#include <QHeaderView>
#include <QTest>

#include <algorithm>
#include <memory>

const QString WindowFixture::TwoUnits = QStringLiteral(
    R"([{"name":"Kitchen","ID":"1","dimmable":"true","value":"60"},)"
    R"({"name":"Porch","ID":"2","dimmable":"false","value":"0"}])");

const QString WindowFixture::ColumnWidthsKey = QStringLiteral("List Box Size");
const QString WindowFixture::DefaultColumnWidths = QStringLiteral(".1*,8*, 1.428571, 1.428571*");

QString WindowFixture::unitList(int count)
{
    QStringList units;
    for (int unit = 0; unit < count; ++unit)
        units.append(QStringLiteral(R"({"name":"Unit %1","ID":"%2","dimmable":"true","value":"50"})")
                         .arg(unit)
                         .arg(unit + 1));
    return QLatin1Char('[') + units.join(QLatin1Char(',')) + QLatin1Char(']');
}

void WindowFixture::SetUp()
{
    ASSERT_TRUE(m_folder.isValid());
    m_previousSettingsFile = SettingsStore::defaultFileName();
    SettingsStore::setDefaultFileName(m_folder.filePath(QStringLiteral("settings.json")));
    auto runner = std::make_unique<RecordingScriptRunner>(TwoUnits);
    m_runner = runner.get();
    m_app.setScriptRunner(std::move(runner));
    m_app.registerAsApplication();
}

void WindowFixture::TearDown()
{
    SettingsStore::setDefaultFileName(m_previousSettingsFile);
}

void WindowFixture::setUnitListText(std::optional<QString> text)
{
    m_runner->setUnitListText(std::move(text));
}

void WindowFixture::store(const QString& key, const SettingsValue& value)
{
    SettingsStore store;
    store.SetAppValue(key, value);
    ASSERT_TRUE(store.AppSynchronize());
}

SettingsValue WindowFixture::stored(const QString& key) const
{
    return SettingsStore().CopyAppValue(key);
}

void WindowFixture::dragBorder(QHeaderView& header, int column, int distance)
{
    QWidget* surface = header.viewport();
    const int border = header.sectionViewportPosition(column) + header.sectionSize(column) - 1;
    const int y = header.height() / 2;
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(border, y));
    QTest::mouseMove(surface, QPoint(border + distance / 2, y));
    QTest::mouseMove(surface, QPoint(border + distance, y));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(border + distance, y));
}

int WindowFixture::widestNumber(const LightListBox& list)
{
    int widest = 0;
    for (int row = 0; row < list.ListCount(); ++row)
        widest = std::max(widest, list.sizeHintForIndex(list.model()->index(row, 0)).width());
    return widest;
}
