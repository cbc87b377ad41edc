#pragma once

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <thread>

struct xcb_connection_t;
struct xcb_selection_request_event_t;

// Another program that owns the X clipboard with a text and counts every
// request for it: each time a program reads the clipboard, the X server
// asks the owner, for the formats it offers or for the text itself. It
// answers from a thread and a connection of its own, so it answers while the
// event loop that asked waits for it.
class CountingClipboard {
public:
    explicit CountingClipboard(QByteArray text);
    ~CountingClipboard();
    CountingClipboard(const CountingClipboard&) = delete;
    CountingClipboard& operator=(const CountingClipboard&) = delete;

    // Whether the X server made it the clipboard's owner.
    bool owns() const { return m_owns; }
    // Requests answered so far for the formats (TARGETS), and for anything
    // else: the text in one of its formats.
    int formatRequests() const { return m_formatRequests; }
    int textRequests() const { return m_textRequests; }

private:
    void serve();
    void answer(const xcb_selection_request_event_t& request);
    std::uint32_t atom(const char* name);

    QByteArray m_text;
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_window = 0;
    std::uint32_t m_clipboard = 0;
    std::uint32_t m_targets = 0;
    std::uint32_t m_utf8 = 0;
    bool m_owns = false;
    std::atomic<int> m_formatRequests{0};
    std::atomic<int> m_textRequests{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
