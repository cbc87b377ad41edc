#include "Awaiting.h"
#include "MainWindow.h"
#include "TestEnvironment.h"
#include "WindowFixture.h"

#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <chrono>
#include <functional>
#include <memory>
#include <xcb/xcb.h>

namespace {

// A host that answers at once, after a look at the screen while it is being
// asked.
class WatchedHost : public RecordingScriptRunner {
public:
    using RecordingScriptRunner::RecordingScriptRunner;

    ScriptResult execute(const QString& source) override
    {
        if (whileAsked)
            whileAsked();
        return RecordingScriptRunner::execute(source);
    }

    std::function<void()> whileAsked;
};

// Long enough for a loaded machine to connect and send a window's picture.
constexpr std::chrono::seconds ScreenWait{30};

// What the X server shows of a window, read over a connection of its own:
// what this process has drawn but not yet sent does not count. Null when the
// window is not on the screen.
QImage onScreen(WId window)
{
    // The connection and the replies wait for the X server as long as it
    // takes.
    const Awaiting showing("the X server to show what it holds of the window", ScreenWait);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    QImage shown;
    const auto id = static_cast<xcb_window_t>(window);
    if (xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr)) {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, id, 0, 0, geometry->width,
                          geometry->height, ~0u),
            nullptr);
        if (image && image->depth == 24)
            shown = QImage(xcb_get_image_data(image), geometry->width, geometry->height,
                           QImage::Format_RGB32)
                        .copy();
        free(image);
        free(geometry);
    }
    xcb_disconnect(connection);
    return shown;
}

// The share of pixels in which two pictures of one size agree.
double agreement(const QImage& first, const QImage& second)
{
    if (first.isNull() || first.size() != second.size())
        return 0;
    qsizetype same = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            same += (first.pixel(x, y) & 0xffffff) == (second.pixel(x, y) & 0xffffff);
    return static_cast<double>(same) / (first.width() * first.height());
}

class DesktopStart : public WindowFixture {};

TEST_F(DesktopStart, WindowIsOnTheScreenWithItsSettingsWhileTheHostIsAskedForTheLights)
{
    TOLVANE_REQUIRE_NETNS();
    store("User Name", SettingsValue::text("ann"));
    auto host = std::make_unique<WatchedHost>(TwoUnits);
    WatchedHost& watched = *host;
    m_app.setScriptRunner(std::move(host));
    m_app.ReadPrefs();

    ui::MainWindow window;
    double shownAsDrawn = 0;
    QString userNameShown;
    watched.whileAsked = [&] {
        const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        shownAsDrawn = agreement(onScreen(window.winId()), drawn);
        userNameShown = window.tfUserName()->text();
    };
    window.open();

    // The cursor of a text field may blink between the two pictures.
    EXPECT_GT(shownAsDrawn, 0.99);
    EXPECT_EQ(userNameShown, "ann");
    window.allowClose();
}

} // namespace
