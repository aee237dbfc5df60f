#include "shared/app/PlatformWindows.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QWindow>

#if defined(KELVU_X11)
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    static QHash<QByteArray, xcb_atom_t> known;
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

struct WindowManagerWatch::Filter {};

WindowManagerWatch::WindowManagerWatch(QObject* parent) : QObject(parent) {}
WindowManagerWatch::~WindowManagerWatch() = default;

#endif

}  // namespace app
