#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct xcb_connection_t;

// A connection of its own to the X display in DISPLAY, for tests that put
// bare windows on the server or send events to windows. Disconnecting (the
// destructor) makes the server destroy every window created here.
class X11TestDisplay {
public:
    X11TestDisplay();
    ~X11TestDisplay();
    X11TestDisplay(const X11TestDisplay&) = delete;
    X11TestDisplay& operator=(const X11TestDisplay&) = delete;

    // False when DISPLAY is unset or the server refused the connection.
    bool isOpen() const;

    // An unmapped 10x10 window; parent 0 means the root window.
    std::uint32_t createWindow(std::uint32_t parent = 0);
    void setClass(std::uint32_t window, const QByteArray& instance, const QByteArray& className);
    void setNetWmName(std::uint32_t window, const QString& title); // _NET_WM_NAME, UTF-8
    void setWmName(std::uint32_t window, const QByteArray& latin1Title); // WM_NAME, STRING
    void setPid(std::uint32_t window, std::uint32_t pid);               // _NET_WM_PID
    // A synthetic key press (and release) of the key code, sent to the window.
    void sendKey(std::uint32_t window, std::uint8_t keyCode);
    // Returns once the server has handled every request sent so far.
    void sync();

private:
    std::uint32_t atom(const char* name);

    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
};
