#include "system/WindowLookup.h"

#include <QList>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace sysapi {
namespace {

// Enough for any class name or title worth comparing, in 32-bit units.
constexpr std::uint32_t kMaxPropertyLongs = 16384;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

class Connection {
public:
    explicit Connection(const QByteArray& displayName)
        : m_connection(xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &m_screen))
    {
    }
    // An xcb connection is disconnected also when it failed to open.
    ~Connection() { xcb_disconnect(m_connection); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return m_connection && xcb_connection_has_error(m_connection) == 0; }
    xcb_connection_t* get() const { return m_connection; }

    xcb_window_t root() const
    {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < m_screen && screens.rem > 0; ++i)
            xcb_screen_next(&screens);
        return screens.rem > 0 ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
    }

private:
    int m_screen = 0;
    xcb_connection_t* m_connection;
};

struct Property {
    xcb_atom_t type = XCB_ATOM_NONE;
    std::uint8_t format = 0;
    QByteArray value;
};

// Replies of a failed request (a window that vanished) count as absent.
template <typename T>
Reply<T> takeReply(T* reply, xcb_generic_error_t* error)
{
    std::free(error);
    return Reply<T>(reply);
}

xcb_atom_t existingAtom(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie)
{
    xcb_generic_error_t* error = nullptr;
    const auto reply = takeReply(xcb_intern_atom_reply(c, cookie, &error), error);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_intern_atom_cookie_t requestAtom(xcb_connection_t* c, const char* name)
{
    return xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name); // only if it exists
}

xcb_get_property_cookie_t requestProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                          xcb_atom_t type = XCB_GET_PROPERTY_TYPE_ANY,
                                          std::uint32_t longs = kMaxPropertyLongs)
{
    return xcb_get_property(c, 0, window, property, type, 0, longs);
}

std::optional<Property> takeProperty(xcb_connection_t* c, xcb_get_property_cookie_t cookie)
{
    xcb_generic_error_t* error = nullptr;
    const auto reply = takeReply(xcb_get_property_reply(c, cookie, &error), error);
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    const auto* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return Property{reply->type, reply->format, QByteArray(value, xcb_get_property_value_length(reply.get()))};
}

// Children of each window, topmost first.
std::vector<std::vector<xcb_window_t>> childrenOfEach(xcb_connection_t* c, const std::vector<xcb_window_t>& windows)
{
    std::vector<xcb_query_tree_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows)
        cookies.push_back(xcb_query_tree(c, window));
    std::vector<std::vector<xcb_window_t>> result;
    result.reserve(windows.size());
    for (xcb_query_tree_cookie_t cookie : cookies) {
        xcb_generic_error_t* error = nullptr;
        const auto reply = takeReply(xcb_query_tree_reply(c, cookie, &error), error);
        std::vector<xcb_window_t> children;
        if (reply) {
            const xcb_window_t* first = xcb_query_tree_children(reply.get());
            children.assign(first, first + xcb_query_tree_children_length(reply.get()));
        }
        result.emplace_back(children.rbegin(), children.rend()); // the server lists them bottom first
    }
    return result;
}

// The class part of WM_CLASS ("instance\0class\0"), or nothing without WM_CLASS.
std::vector<std::optional<QString>> classNamesOf(xcb_connection_t* c, const std::vector<xcb_window_t>& windows)
{
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows)
        cookies.push_back(requestProperty(c, window, XCB_ATOM_WM_CLASS));
    std::vector<std::optional<QString>> result;
    result.reserve(windows.size());
    for (xcb_get_property_cookie_t cookie : cookies) {
        const std::optional<Property> property = takeProperty(c, cookie);
        if (!property) {
            result.emplace_back();
            continue;
        }
        const QList<QByteArray> parts = property->value.split('\0');
        result.emplace_back(parts.size() >= 2 ? QString::fromLatin1(parts.at(1)) : QString());
    }
    return result;
}

struct TitleAtoms {
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
};

QString decodeTitle(const Property& property, const TitleAtoms& atoms)
{
    QByteArray text = property.value;
    if (const qsizetype end = text.indexOf('\0'); end >= 0)
        text.truncate(end);
    if (atoms.utf8String != XCB_ATOM_NONE && property.type == atoms.utf8String)
        return QString::fromUtf8(text);
    return QString::fromLatin1(text);
}

std::vector<QString> titlesOf(xcb_connection_t* c, const std::vector<xcb_window_t>& windows, const TitleAtoms& atoms)
{
    struct Cookies {
        std::optional<xcb_get_property_cookie_t> netWmName;
        xcb_get_property_cookie_t wmName;
    };
    std::vector<Cookies> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows) {
        Cookies pair{std::nullopt, requestProperty(c, window, XCB_ATOM_WM_NAME)};
        if (atoms.netWmName != XCB_ATOM_NONE)
            pair.netWmName = requestProperty(c, window, atoms.netWmName);
        cookies.push_back(pair);
    }
    std::vector<QString> result;
    result.reserve(windows.size());
    for (const Cookies& pair : cookies) {
        const std::optional<Property> wmName = takeProperty(c, pair.wmName);
        const std::optional<Property> netWmName = pair.netWmName ? takeProperty(c, *pair.netWmName) : std::nullopt;
        if (netWmName)
            result.push_back(decodeTitle(*netWmName, atoms));
        else
            result.push_back(wmName ? decodeTitle(*wmName, atoms) : QString());
    }
    return result;
}

// The windows that carry WM_CLASS with the class name, topmost first:
// top-level windows, and for frames without WM_CLASS their children.
std::vector<xcb_window_t> windowsOfClass(xcb_connection_t* c, xcb_window_t root, const QString& className)
{
    const std::vector<xcb_window_t> topLevel = childrenOfEach(c, {root}).front();
    const std::vector<std::optional<QString>> topClasses = classNamesOf(c, topLevel);

    std::vector<xcb_window_t> frames;
    for (std::size_t i = 0; i < topLevel.size(); ++i) {
        if (!topClasses[i])
            frames.push_back(topLevel[i]);
    }
    const std::vector<std::vector<xcb_window_t>> framed = childrenOfEach(c, frames);
    std::vector<xcb_window_t> clients;
    for (const auto& children : framed)
        clients.insert(clients.end(), children.begin(), children.end());
    const std::vector<std::optional<QString>> clientClasses = classNamesOf(c, clients);

    std::vector<xcb_window_t> matches;
    std::size_t frame = 0;
    std::size_t client = 0;
    for (std::size_t i = 0; i < topLevel.size(); ++i) {
        if (topClasses[i]) {
            if (*topClasses[i] == className)
                matches.push_back(topLevel[i]);
            continue;
        }
        for (std::size_t k = 0; k < framed[frame].size(); ++k, ++client) {
            if (clientClasses[client] && *clientClasses[client] == className)
                matches.push_back(clients[client]);
        }
        ++frame;
    }
    return matches;
}

} // namespace

std::uint32_t findTopLevelWindow(const QString& className, const QString& title)
{
    return findTopLevelWindow(className, title, QByteArray());
}

std::int32_t windowProcessId(std::uint32_t window)
{
    return windowProcessId(window, QByteArray());
}

std::uint32_t findTopLevelWindow(const QString& className, const QString& title, const QByteArray& displayName)
{
    Connection connection(displayName);
    if (!connection.isOpen())
        return 0;
    xcb_connection_t* c = connection.get();
    const xcb_intern_atom_cookie_t netWmName = requestAtom(c, "_NET_WM_NAME");
    const xcb_intern_atom_cookie_t utf8String = requestAtom(c, "UTF8_STRING");
    const TitleAtoms atoms{existingAtom(c, netWmName), existingAtom(c, utf8String)};

    const std::vector<xcb_window_t> candidates = windowsOfClass(c, connection.root(), className);
    const std::vector<QString> titles = titlesOf(c, candidates, atoms);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (titles[i] == title)
            return candidates[i];
    }
    return 0;
}

std::int32_t windowProcessId(std::uint32_t window, const QByteArray& displayName)
{
    if (window == XCB_WINDOW_NONE)
        return 0;
    Connection connection(displayName);
    if (!connection.isOpen())
        return 0;
    xcb_connection_t* c = connection.get();
    const xcb_atom_t pidAtom = existingAtom(c, requestAtom(c, "_NET_WM_PID"));
    if (pidAtom == XCB_ATOM_NONE)
        return 0;
    const std::optional<Property> pid = takeProperty(c, requestProperty(c, window, pidAtom, XCB_ATOM_CARDINAL, 1));
    if (!pid || pid->format != 32 || pid->value.size() < 4)
        return 0;
    std::uint32_t value = 0;
    std::memcpy(&value, pid->value.constData(), sizeof value); // in this client's byte order
    return value <= std::uint32_t(std::numeric_limits<std::int32_t>::max()) ? std::int32_t(value) : 0;
}

} // namespace sysapi
