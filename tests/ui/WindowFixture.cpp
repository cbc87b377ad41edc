#include "WindowFixture.h"

#include "SettingsStore.h"

#include <memory>

const QString WindowFixture::TwoUnits = QStringLiteral(
    R"([{"name":"Kitchen","ID":"1","dimmable":"true","value":"60"},)"
    R"({"name":"Porch","ID":"2","dimmable":"false","value":"0"}])");

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
