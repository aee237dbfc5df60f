#include "shared/app/PlatformWindows.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QSysInfo>
#include <QWidget>
#include <QWindow>

#if defined(KELVU_X11)
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>
#endif

namespace app {

void chooseWindowSystem() {
#if defined(KELVU_X11)
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
    if (!qEnvironmentVariableIsSet("GDK_BACKEND"))
        qputenv("GDK_BACKEND", QByteArrayLiteral("x11,wayland"));
#endif
}

#if defined(KELVU_X11)

namespace {

// The Motif hints: which fields are set, and the bits of two of them.
constexpr quint32 MotifFunctionsField = 1U << 0;
constexpr quint32 MotifDecorationsField = 1U << 1;
constexpr quint32 MotifResize = 1U << 1;
constexpr quint32 MotifMove = 1U << 2;
constexpr quint32 MotifBorder = 1U << 1;

// A request that comes from a pager or taskbar, on behalf of the user.
constexpr quint32 SourceIsUser = 2;

// Frees a reply of the X server when it goes out of scope.
class Reply {
public:
    explicit Reply(void* data) : m_data(data) {}
    ~Reply() { std::free(m_data); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;

private:
    void* m_data;
};

// Qt's own connection to the X server, or none on another window system.
xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The atoms the requests and the watch below use, asked for together.
constexpr const char* UsedAtoms[] = {
    "WM_CLIENT_LEADER",
    "WM_CLIENT_MACHINE",
    "WM_PROTOCOLS",
    "WM_STATE",
    "WM_TAKE_FOCUS",
    "_MOTIF_WM_HINTS",
    "_NET_ACTIVE_WINDOW",
    "_NET_CLIENT_LIST",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_RESTACK_WINDOW",
    "_NET_STARTUP_ID",
    "_NET_STARTUP_INFO",
    "_NET_STARTUP_INFO_BEGIN",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_BYPASS_COMPOSITOR",
    "_NET_WM_NAME",
    "_NET_WM_PID",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_SKIP_PAGER",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_WIN_LAYER",
};

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    static QHash<QByteArray, xcb_atom_t> known;
    if (known.isEmpty()) {
        // One wait for the server for all of them, not one for each: every
        // request goes out before the first answer is read.
        xcb_intern_atom_cookie_t cookies[std::size(UsedAtoms)];
        for (std::size_t i = 0; i < std::size(UsedAtoms); ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<quint16>(std::strlen(UsedAtoms[i])),
                                         UsedAtoms[i]);
        for (std::size_t i = 0; i < std::size(UsedAtoms); ++i) {
            auto* reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
            const Reply owner{reply};
            if (reply && reply->atom != XCB_ATOM_NONE) known.insert(UsedAtoms[i], reply->atom);
        }
    }
    const QByteArray key(name);
    if (const auto found = known.constFind(key); found != known.constEnd()) return *found;
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<quint16>(key.size()), name), nullptr);
    const Reply owner{reply};
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    if (value != XCB_ATOM_NONE) known.insert(key, value);
    return value;
}

// The windows a property of the root window lists.
std::vector<xcb_window_t> rootWindowList(xcb_connection_t* c, const char* property) {
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootWindow(c), atom(c, property), XCB_ATOM_WINDOW, 0, 16384),
        nullptr);
    const Reply owner{reply};
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / 4;
    return std::vector<xcb_window_t>(values, values + count);
}

// The window's types, most wanted first; none for a window without any.
std::vector<xcb_atom_t> windowTypes(xcb_connection_t* c, xcb_window_t window) {
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 0, 16),
        nullptr);
    const Reply owner{reply};
    if (!reply || reply->format != 32) return {};
    const auto* types = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    return std::vector<xcb_atom_t>(types, types + xcb_get_property_value_length(reply) / 4);
}

// A text property of the window (of any string type); empty when it has none.
QByteArray textProperty(xcb_connection_t* c, xcb_window_t window, const char* name) {
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom(c, name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    const Reply owner{reply};
    if (!reply || reply->format != 8) return {};
    QByteArray text(static_cast<const char*>(xcb_get_property_value(reply)),
                    xcb_get_property_value_length(reply));
    // ICCCM lets a host name end in a null byte.
    while (text.endsWith('\0')) text.chop(1);
    return text;
}

// A 32-bit property of the window (a number or a window); 0 when it has none.
quint32 numberProperty(xcb_connection_t* c, xcb_window_t window, const char* name,
                       xcb_atom_t type) {
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom(c, name), type, 0, 1), nullptr);
    const Reply owner{reply};
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply) != 4) return 0;
    return *static_cast<const quint32*>(xcb_get_property_value(reply));
}

void sendToWindowManager(xcb_connection_t* c, xcb_window_t window, const char* message,
                         const quint32 (&data)[5]) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(c, message);
    std::memcpy(event.data.data32, data, sizeof data);
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

// Property changes on the root window reach this client, whatever Qt asked for.
void hearRootProperties(xcb_connection_t* c) {
    auto* reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, rootWindow(c)), nullptr);
    const Reply owner{reply};
    if (!reply || (reply->your_event_mask & XCB_EVENT_MASK_PROPERTY_CHANGE)) return;
    const quint32 mask = reply->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, rootWindow(c), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
}

}  // namespace

void requestBorderWithoutTitle(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const quint32 hints[5] = {MotifFunctionsField | MotifDecorationsField, MotifResize | MotifMove,
                              MotifBorder, 0, 0};
    const xcb_atom_t motif = atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), motif,
                        motif, 32, 5, hints);
    xcb_flush(c);
}

namespace {

// Whether the window manager is Openbox, by the name on its check window.
bool windowManagerIsOpenbox(xcb_connection_t* c) {
    const xcb_window_t check =
        numberProperty(c, rootWindow(c), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    return check != 0 && textProperty(c, check, "_NET_WM_NAME") == "Openbox";
}

}  // namespace

void requestNoMinimiseButton(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c || !window || window->windowType() != Qt::Dialog) return;
    const Qt::WindowFlags flags = window->windowFlags();
    if (!(flags & Qt::WindowTitleHint) ||
        (flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) ||
        window->testAttribute(Qt::WA_X11NetWmWindowTypeToolBar) || !windowManagerIsOpenbox(c))
        return;
    // Qt keeps the type from now on, also when it writes the window's other
    // types again.
    window->setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
}

namespace {

// Whether the X server is XWayland, which shows each window through the
// Wayland compositor. Its screens' outputs are named XWAYLAND0, XWAYLAND1 …;
// from version 23.1 on it also has an extension of that name; the desktop's
// Wayland display in the environment tells too.
bool isXWayland(xcb_connection_t* c) {
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) return true;
    const auto screens = QGuiApplication::screens();
    if (std::any_of(screens.begin(), screens.end(), [](const QScreen* screen) {
            return screen->name().startsWith(QLatin1String("XWAYLAND"));
        }))
        return true;
    constexpr char name[] = "XWAYLAND";
    auto* reply = xcb_query_extension_reply(
        c, xcb_query_extension(c, static_cast<quint16>(sizeof name - 1), name), nullptr);
    const Reply owner{reply};
    return reply && reply->present;
}

}  // namespace

bool requestBlackBackground(QWindow* window) {
    xcb_connection_t* c = connection();
    // XWayland hands the compositor only what the program draws: a window
    // that the server alone fills stays empty there, and what lies behind it
    // shows.
    if (!c || !window || isXWayland(c)) return false;
    // Qt creates its windows without a background: the X server leaves what
    // was on the screen until the program's image arrives. With the screen's
    // black pixel as background it clears the window to black itself, at
    // once on every exposure, also on a screen of another size.
    const quint32 black = xcb_setup_roots_iterator(xcb_get_setup(c)).data->black_pixel;
    xcb_change_window_attributes(c, static_cast<xcb_window_t>(window->winId()), XCB_CW_BACK_PIXEL,
                                 &black);
    xcb_flush(c);
    return true;
}

void requestNoTaskbarEntry(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    // Qt keeps these when it writes the state of a window it maps.
    const xcb_atom_t states[2] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                  atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(c);
}

void requestNoFocus(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto w = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t protocolsProperty = atom(c, "WM_PROTOCOLS");
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, false, w, protocolsProperty, XCB_ATOM_ATOM, 0, 32), nullptr);
    const Reply owner{reply};
    if (!reply || reply->format != 32) return;
    const auto* listed = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    std::vector<xcb_atom_t> protocols(listed, listed + xcb_get_property_value_length(reply) / 4);
    std::erase(protocols, atom(c, "WM_TAKE_FOCUS"));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, protocolsProperty, XCB_ATOM_ATOM, 32,
                        static_cast<quint32>(protocols.size()), protocols.data());
    xcb_flush(c);
}

void requestCompositing(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const quint32 compositingWanted = 2;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        atom(c, "_NET_WM_BYPASS_COMPOSITOR"), XCB_ATOM_CARDINAL, 32, 1,
                        &compositingWanted);
    xcb_flush(c);
}

// The layer of the older GNOME hints between docks and menus.
constexpr quint32 LayerAboveDocks = 10;

void requestLayerAboveDocks(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        atom(c, "_WIN_LAYER"), XCB_ATOM_CARDINAL, 32, 1, &LayerAboveDocks);
    xcb_flush(c);
}

bool requestOwner(NativeWindow window, NativeWindow owner) {
    xcb_connection_t* c = connection();
    if (!c || !window || !owner) return false;
    const auto w = static_cast<xcb_window_t>(window);
    auto* transientFor = xcb_get_property_reply(
        c, xcb_get_property(c, false, w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    const Reply transientForOwner{transientFor};
    if (!transientFor || xcb_get_property_value_length(transientFor) != 0) return false;
    // No type at all, or the plain one first.
    const std::vector<xcb_atom_t> types = windowTypes(c, w);
    if (types.empty() || types.front() == atom(c, "_NET_WM_WINDOW_TYPE_NORMAL")) {
        const xcb_atom_t dialog = atom(c, "_NET_WM_WINDOW_TYPE_DIALOG");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 1, &dialog);
    }
    const auto ownerWindow = static_cast<xcb_window_t>(owner);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32,
                        1, &ownerWindow);
    xcb_flush(c);
    return true;
}

void requestRaise(NativeWindow window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    sendToWindowManager(c, static_cast<xcb_window_t>(window), "_NET_RESTACK_WINDOW",
                        {SourceIsUser, XCB_NONE, XCB_STACK_MODE_ABOVE, 0, 0});
}

void reviewLayerBelowDock(NativeWindow window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    // Bottom to top.
    const std::vector<xcb_window_t> stacking = rootWindowList(c, "_NET_CLIENT_LIST_STACKING");
    const auto at = std::find(stacking.begin(), stacking.end(), static_cast<xcb_window_t>(window));
    if (at == stacking.end()) return;
    const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    const bool belowDock = std::any_of(std::next(at), stacking.end(), [c, dock](xcb_window_t w) {
        const std::vector<xcb_atom_t> types = windowTypes(c, w);
        return std::find(types.begin(), types.end(), dock) != types.end();
    });
    if (!belowDock) return;
    constexpr quint32 stateRemove = 0;
    constexpr quint32 stateAdd = 1;
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    for (const quint32 action : {stateAdd, stateRemove})
        sendToWindowManager(c, static_cast<xcb_window_t>(window), "_NET_WM_STATE",
                            {action, above, XCB_ATOM_NONE, SourceIsUser, 0});
    // IceWM takes the state back into its own layers and drops the one
    // asked for with the older hints: asked for again.
    sendToWindowManager(c, static_cast<xcb_window_t>(window), "_WIN_LAYER",
                        {LayerAboveDocks, XCB_CURRENT_TIME, 0, 0, 0});
}

void requestActivation(NativeWindow window, quint64 timestamp) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    // Some window managers give a window the focus but leave it where it lies
    // when asked to activate it: it is also asked to the top of its layer.
    requestRaise(window);
    sendToWindowManager(c, static_cast<xcb_window_t>(window), "_NET_ACTIVE_WINDOW",
                        {SourceIsUser, static_cast<quint32>(timestamp), 0, 0, 0});
}

std::vector<NativeWindow> managedWindows() {
    xcb_connection_t* c = connection();
    if (!c) return {};
    const std::vector<xcb_window_t> managed = rootWindowList(c, "_NET_CLIENT_LIST");
    return std::vector<NativeWindow>(managed.begin(), managed.end());
}

bool isManaged(NativeWindow window) {
    const std::vector<NativeWindow> managed = managedWindows();
    return window != 0 && std::find(managed.begin(), managed.end(), window) != managed.end();
}

bool isShown(NativeWindow window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return false;
    auto* reply = xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window)), nullptr);
    const Reply owner{reply};
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool isMinimised(NativeWindow window) {
    xcb_connection_t* c = connection();
    if (!c || !window || isShown(window)) return false;
    const xcb_atom_t state = atom(c, "WM_STATE");
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, false, static_cast<xcb_window_t>(window), state, state, 0, 1),
        nullptr);
    const Reply owner{reply};
    constexpr quint32 IconicState = 3;
    return reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4 &&
           *static_cast<const quint32*>(xcb_get_property_value(reply)) == IconicState;
}

NativeWindow activeWindow() {
    xcb_connection_t* c = connection();
    if (!c) return 0;
    const std::vector<xcb_window_t> active = rootWindowList(c, "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active.front();
}

WindowOrigin windowOrigin(NativeWindow window) {
    WindowOrigin origin;
    xcb_connection_t* c = connection();
    if (!c || !window) return origin;
    const auto w = static_cast<xcb_window_t>(window);
    // Toolkits set the ID on the window, or on the client leader for all of
    // their windows (GTK, also when another start hands it to a program
    // that runs already).
    origin.startupId = textProperty(c, w, "_NET_STARTUP_ID");
    if (const quint32 leader = numberProperty(c, w, "WM_CLIENT_LEADER", XCB_ATOM_WINDOW))
        origin.leaderStartupId = textProperty(c, leader, "_NET_STARTUP_ID");
    const quint32 process = numberProperty(c, w, "_NET_WM_PID", XCB_ATOM_CARDINAL);
    const QByteArray machine = textProperty(c, w, "WM_CLIENT_MACHINE");
    if (machine.isEmpty() || machine == QSysInfo::machineHostName().toUtf8()) {
        origin.processId = process;
        origin.processStartupId = processStartupId(process);
    }
    return origin;
}

namespace {

// A window of the program's own, never shown, that startup messages come from.
xcb_window_t messageWindow(xcb_connection_t* c) {
    static xcb_window_t window = XCB_WINDOW_NONE;
    if (window == XCB_WINDOW_NONE) {
        window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, rootWindow(c), -100, -100, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    }
    return window;
}

// A startup message to every client that listens on the root window, in
// pieces of 20 bytes: the first of type _NET_STARTUP_INFO_BEGIN, the rest
// _NET_STARTUP_INFO, the last one ending in null bytes.
void broadcastStartupMessage(xcb_connection_t* c, QByteArray message) {
    message.append('\0');
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = messageWindow(c);
    constexpr qsizetype Piece = sizeof event.data.data8;
    for (qsizetype offset = 0; offset < message.size(); offset += Piece) {
        event.type = atom(c, offset == 0 ? "_NET_STARTUP_INFO_BEGIN" : "_NET_STARTUP_INFO");
        std::memset(event.data.data8, 0, sizeof event.data.data8);
        std::memcpy(event.data.data8, message.constData() + offset,
                    static_cast<std::size_t>(std::min(Piece, message.size() - offset)));
        xcb_send_event(c, 0, rootWindow(c), XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(c);
}

// A value of a startup message, quoted, with its quotes and backslashes escaped.
QByteArray quotedValue(const QString& value) {
    QByteArray quoted = value.toUtf8();
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + quoted + '"';
}

}  // namespace

bool announceStartup(const QByteArray& startupId, const QString& name, const QString& program) {
    xcb_connection_t* c = connection();
    if (!c || startupId.isEmpty()) return false;
    broadcastStartupMessage(
        c, "new: ID=" + quotedValue(QString::fromUtf8(startupId)) + " NAME=" + quotedValue(name) +
               " SCREEN=0 BIN=" + quotedValue(program) + " DESCRIPTION=" + quotedValue(name));
    return true;
}

void endStartup(const QByteArray& startupId) {
    xcb_connection_t* c = connection();
    if (!c || startupId.isEmpty()) return;
    broadcastStartupMessage(c, "remove: ID=" + quotedValue(QString::fromUtf8(startupId)));
}

struct WindowManagerWatch::Filter final : QAbstractNativeEventFilter {
    // The press and the first touch of the X Input extension (XI2), through
    // which Qt takes the pointer and the touch screen.
    static constexpr quint16 XiButtonPress = 4;
    static constexpr quint16 XiTouchBegin = 18;

    WindowManagerWatch* watch = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t active = XCB_ATOM_NONE;
    xcb_atom_t managed = XCB_ATOM_NONE;
    quint8 inputExtension = 0;  // the major opcode of the X Input extension

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
            case XCB_PROPERTY_NOTIFY: {
                const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
                if (change->window == root && change->atom == active)
                    emit watch->activated(activeWindow());
                else if (change->window == root && change->atom == managed)
                    emit watch->managedWindowsChanged();
                break;
            }
            case XCB_BUTTON_PRESS: {
                const auto* press = static_cast<const xcb_button_press_event_t*>(message);
                emit watch->pressed(press->event, press->time);
                break;
            }
            case XCB_GE_GENERIC: {
                // Either carries the time at byte 12 and the window at byte 24.
                const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
                if (inputExtension == 0 || generic->extension != inputExtension ||
                    (generic->event_type != XiButtonPress && generic->event_type != XiTouchBegin))
                    break;
                quint32 time = 0;
                xcb_window_t window = XCB_WINDOW_NONE;
                const auto* bytes = static_cast<const char*>(message);
                std::memcpy(&time, bytes + 12, sizeof time);
                std::memcpy(&window, bytes + 24, sizeof window);
                emit watch->pressed(window, time);
                break;
            }
            default:
                break;
        }
        return false;
    }
};

WindowManagerWatch::WindowManagerWatch(QObject* parent) : QObject(parent) {
    xcb_connection_t* c = connection();
    if (!c) return;
    m_filter = std::make_unique<Filter>();
    m_filter->watch = this;
    m_filter->root = rootWindow(c);
    m_filter->active = atom(c, "_NET_ACTIVE_WINDOW");
    m_filter->managed = atom(c, "_NET_CLIENT_LIST");
    static constexpr char InputExtension[] = "XInputExtension";
    auto* input = xcb_query_extension_reply(
        c, xcb_query_extension(c, sizeof InputExtension - 1, InputExtension), nullptr);
    const Reply owner{input};
    if (input && input->present) m_filter->inputExtension = input->major_opcode;
    hearRootProperties(c);
    QCoreApplication::instance()->installNativeEventFilter(m_filter.get());
}

WindowManagerWatch::~WindowManagerWatch() {
    if (m_filter) QCoreApplication::instance()->removeNativeEventFilter(m_filter.get());
}

#else

void requestBorderWithoutTitle(QWindow*) {}
void requestNoMinimiseButton(QWidget*) {}
bool requestBlackBackground(QWindow*) {
    return false;
}
void requestNoTaskbarEntry(QWindow*) {}
void requestNoFocus(QWindow*) {}
void requestCompositing(QWindow*) {}
void requestLayerAboveDocks(QWindow*) {}
bool requestOwner(NativeWindow, NativeWindow) {
    return false;
}
void requestRaise(NativeWindow) {}
void reviewLayerBelowDock(NativeWindow) {}
void requestActivation(NativeWindow, quint64) {}
std::vector<NativeWindow> managedWindows() {
    return {};
}
bool isManaged(NativeWindow) {
    return false;
}
bool isShown(NativeWindow) {
    return false;
}
bool isMinimised(NativeWindow) {
    return false;
}
NativeWindow activeWindow() {
    return 0;
}
WindowOrigin windowOrigin(NativeWindow) {
    return {};
}
bool announceStartup(const QByteArray&, const QString&, const QString&) {
    return false;
}
void endStartup(const QByteArray&) {}

struct WindowManagerWatch::Filter {};

WindowManagerWatch::WindowManagerWatch(QObject* parent) : QObject(parent) {}
WindowManagerWatch::~WindowManagerWatch() = default;

#endif

QByteArray processStartupId(qint64 processId) {
#if defined(Q_OS_LINUX)
    // The environment the process was started with, as null-ended strings;
    // a toolkit that takes the ID out of its own environment leaves it there.
    QFile environment(QStringLiteral("/proc/%1/environ").arg(processId));
    if (processId <= 0 || !environment.open(QIODevice::ReadOnly)) return {};
    static const QByteArray Variable = QByteArrayLiteral("DESKTOP_STARTUP_ID=");
    for (const QByteArray& entry : environment.read(1 << 20).split('\0'))
        if (entry.startsWith(Variable)) return entry.mid(Variable.size());
    return {};
#else
    Q_UNUSED(processId);
    return {};
#endif
}

qint64 parentProcess(qint64 processId) {
#if defined(Q_OS_LINUX)
    // "pid (name) state ppid …": the name may hold spaces and brackets.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(processId));
    if (processId <= 0 || !stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray line = stat.read(4096);
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0) return 0;
    const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() : 0;
#else
    Q_UNUSED(processId);
    return 0;
#endif
}

}  // namespace app
