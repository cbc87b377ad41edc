#include "CountingClipboard.h"

#include "Awaiting.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <xcb/xcb.h>

namespace {
// How often the serving thread looks whether it is to stop.
constexpr std::chrono::milliseconds StopCheck{20};
// Long enough for a loaded machine to connect and take the clipboard.
constexpr std::chrono::seconds OwnerWait{30};
} // namespace

CountingClipboard::CountingClipboard(QByteArray text) : m_text(std::move(text))
{
    // The connection and the replies below wait for the X server as long as
    // it takes.
    const Awaiting owning("the X server to take the clipboard owner's connection and make it the owner",
                          OwnerWait);
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    m_clipboard = atom("CLIPBOARD");
    m_targets = atom("TARGETS");
    m_utf8 = atom("UTF8_STRING");
    xcb_set_selection_owner(m_connection, m_window, m_clipboard, XCB_CURRENT_TIME);
    if (xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, m_clipboard), nullptr)) {
        m_owns = owner->owner == m_window;
        free(owner);
    }
    m_thread = std::thread([this] { serve(); });
}

CountingClipboard::~CountingClipboard()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    xcb_disconnect(m_connection);
}

std::uint32_t CountingClipboard::atom(const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return found;
}

void CountingClipboard::serve()
{
    pollfd socket{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    while (!m_stop) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & ~0x80) == XCB_SELECTION_REQUEST) {
                const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
                // Counted before the answer, so the asker sees the count once
                // it has its answer.
                ++(request.target == m_targets ? m_formatRequests : m_textRequests);
                answer(request);
            }
            free(event);
        }
        poll(&socket, 1, static_cast<int>(StopCheck.count()));
    }
}

// The formats are the text alone; any other target is refused.
void CountingClipboard::answer(const xcb_selection_request_event_t& request)
{
    xcb_atom_t property = request.property != XCB_ATOM_NONE ? request.property : request.target;
    if (request.target == m_targets) {
        const xcb_atom_t formats[] = {m_targets, m_utf8};
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                            XCB_ATOM_ATOM, 32, 2, formats);
    } else if (request.target == m_utf8) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor, property, m_utf8, 8,
                            static_cast<uint32_t>(m_text.size()), m_text.constData());
    } else {
        property = XCB_ATOM_NONE;
    }
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(m_connection);
}
