#include "X11TestDisplay.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

X11TestDisplay::X11TestDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    int screen = 0;
    m_connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(m_connection))
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screen && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem > 0)
        m_root = screens.data->root;
}

X11TestDisplay::~X11TestDisplay()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool X11TestDisplay::isOpen() const
{
    return m_connection && xcb_connection_has_error(m_connection) == 0 && m_root != 0;
}

std::uint32_t X11TestDisplay::createWindow(std::uint32_t parent)
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, parent ? parent : m_root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    return window;
}

void X11TestDisplay::setClass(std::uint32_t window, const QByteArray& instance, const QByteArray& className)
{
    const QByteArray value = instance + '\0' + className + '\0';
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(value.size()), value.constData());
}

void X11TestDisplay::setNetWmName(std::uint32_t window, const QString& title)
{
    const QByteArray value = title.toUtf8();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(value.size()), value.constData());
}

void X11TestDisplay::setWmName(std::uint32_t window, const QByteArray& latin1Title)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(latin1Title.size()), latin1Title.constData());
}

void X11TestDisplay::setPid(std::uint32_t window, std::uint32_t pid)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1,
                        &pid);
}

void X11TestDisplay::sendKey(std::uint32_t window, std::uint8_t keyCode)
{
    for (const std::uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
        xcb_key_press_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = type;
        event.detail = keyCode;
        event.time = XCB_CURRENT_TIME;
        event.root = m_root;
        event.event = window;
        event.child = XCB_WINDOW_NONE;
        event.same_screen = 1;
        const std::uint32_t mask = type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
        xcb_send_event(m_connection, 0, window, mask, reinterpret_cast<const char*>(&event));
    }
    xcb_flush(m_connection);
}

void X11TestDisplay::sync()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

std::uint32_t X11TestDisplay::atom(const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
    const std::uint32_t result = reply ? reply->atom : 0;
    std::free(reply);
    return result;
}
