// The companion program as a real peer for whole-process tests: a top-level
// X window that Vexlo's companion lookup finds, and a reader of the
// shared-memory block that Vexlo hands the password to.
//
//   mirrak
//
// Opens a window with WM_CLASS instance "mirrak", class "ThunderRT6FormDC"
// and the title "Mirrak" (WM_NAME and _NET_WM_NAME), maps it, prints
// "ready" and then serves one command per line on standard input:
//
//   read <block name>   prints "text <bytes>": the block's text in UTF-8,
//                       every byte outside 0x21..0x7E and every "%" written
//                       as %XX (upper-case hex), so control characters and
//                       blanks survive the line; "none" when there is no such
//                       block; "error <number> <description>" when reading fails
//   quit                ends the program, as the end of standard input does
//
// Anything else prints "error unknown command". The window goes away with
// the program's connection to the X server.
#include "automation/AutomationError.h"
#include "services/SharedMemoryBlock.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

const char kInstanceAndClass[] = "mirrak\0ThunderRT6FormDC"; // both strings, each NUL-terminated
const char kTitle[] = "Mirrak";

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void setProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                 const char* bytes, std::size_t length)
{
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<std::uint32_t>(length), bytes);
}

// Creates and maps the companion's window; returns once the server has done so.
bool openWindow(xcb_connection_t* connection, int screenNumber)
{
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return false;
    const xcb_screen_t* screen = screens.data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t background[] = {screen->white_pixel};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, background);
    setProperty(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, kInstanceAndClass, sizeof kInstanceAndClass);
    setProperty(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, kTitle, std::strlen(kTitle));
    setProperty(connection, window, internAtom(connection, "_NET_WM_NAME"), internAtom(connection, "UTF8_STRING"),
                kTitle, std::strlen(kTitle));
    xcb_map_window(connection, window);
    // A round trip: everything above has been handled when the reply arrives.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return xcb_connection_has_error(connection) == 0;
}

std::string percentEscaped(const QByteArray& bytes)
{
    std::string line;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code > 0x20 && code < 0x7F && code != '%') {
            line += static_cast<char>(code);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", code);
            line += escape;
        }
    }
    return line;
}

std::string readBlock(const std::string& name)
{
    try {
        const auto text = services::ReadSharedMemoryBlock(QString::fromStdString(name));
        return text ? "text " + percentEscaped(text->toUtf8()) : std::string("none");
    } catch (const automation::AutomationError& error) {
        return "error " + std::to_string(error.number()) + ' ' + error.description().toStdString();
    }
}

} // namespace

int main()
{
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) || !openWindow(connection, screenNumber)) {
        std::fputs("mirrak: cannot open a window on the X display\n", stderr);
        xcb_disconnect(connection);
        return 1;
    }
    std::cout << "ready" << std::endl;

    const std::string readCommand = "read ";
    for (std::string line; std::getline(std::cin, line);) {
        if (line == "quit")
            break;
        if (line.rfind(readCommand, 0) == 0)
            std::cout << readBlock(line.substr(readCommand.size())) << std::endl;
        else
            std::cout << "error unknown command" << std::endl;
    }
    xcb_disconnect(connection);
    return 0;
}
