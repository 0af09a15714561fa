// Saves a picture of an X window to a PNG file:
//   grab-window <window title> <file.png> [seconds to wait for the window]
// Waits until a top-level window with that title is mapped, then grabs it
// from the X server as it shows on screen.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QElapsedTimer>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QByteArray windowTitle(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_intern_atom_cookie_t nameCookie = xcb_intern_atom(connection, 0, 12, "_NET_WM_NAME");
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> name(
        xcb_intern_atom_reply(connection, nameCookie, nullptr), &std::free);
    const xcb_atom_t properties[] = {name ? name->atom : xcb_atom_t(XCB_ATOM_NONE), XCB_ATOM_WM_NAME};
    for (xcb_atom_t property : properties) {
        if (property == XCB_ATOM_NONE)
            continue;
        auto cookie = xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection, cookie, nullptr), &std::free);
        if (reply && xcb_get_property_value_length(reply.get()) > 0)
            return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                              xcb_get_property_value_length(reply.get()));
    }
    return {};
}

// The first mapped top-level window (or a window manager frame's child) with the title.
xcb_window_t findMappedWindow(xcb_connection_t* connection, const QByteArray& title)
{
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    auto cookie = xcb_query_tree(connection, screen->root);
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, cookie, nullptr), &std::free);
    if (!tree)
        return 0;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, children[i]), nullptr);
        const bool mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (mapped && windowTitle(connection, children[i]) == title)
            return children[i];
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: grab-window <window title> <file.png> [seconds]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QByteArray title = argv[1];
    const QString file = QString::fromLocal8Bit(argv[2]);
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 20;

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "grab-window: no X display\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    xcb_window_t window = 0;
    while (!(window = findMappedWindow(connection, title)) && clock.elapsed() < seconds * 1000)
        QThread::msleep(50);
    xcb_disconnect(connection);
    if (!window) {
        std::fprintf(stderr, "grab-window: no window titled \"%s\" appeared\n", title.constData());
        return 1;
    }
    QThread::msleep(500); // let the first paint land
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    if (picture.isNull() || !picture.save(file, "PNG")) {
        std::fprintf(stderr, "grab-window: could not save %s\n", argv[2]);
        return 1;
    }
    return 0;
}
