#include "shared/app/WindowPolicy.h"

#include <algorithm>
#include <utility>

namespace app {

namespace {

// A window that was open before the backdrop came: no time of its own.
constexpr qint64 OpenBefore = -1;
// Enough steps up a chain of processes for any launcher's scripts.
constexpr int AncestorSteps = 32;

}  // namespace

WindowPolicy::WindowPolicy(WindowSystem& system) : m_system(system) {}

void WindowPolicy::start() {
    for (NativeWindow window : m_system.managedWindows()) m_seen.emplace(window, OpenBefore);
}

void WindowPolicy::launched(const Launch& launch) {
    m_starts.push_back(Start{launch, m_system.now()});
}

bool WindowPolicy::isClosed(NativeWindow window) const {
    // Closed, hidden or destroyed while on the screen, though the window
    // manager may not yet have taken note: neither on the screen nor minimised.
    return !m_system.isShown(window) && !m_system.isMinimised(window);
}

bool WindowPolicy::isManaged(NativeWindow window) const {
    const std::vector<NativeWindow> managed = m_system.managedWindows();
    return window != 0 && std::find(managed.begin(), managed.end(), window) != managed.end();
}

bool WindowPolicy::isExercise(NativeWindow window) const {
    return std::find(m_exercises.begin(), m_exercises.end(), window) != m_exercises.end();
}

WindowPolicy::Start* WindowPolicy::startByMarks(const WindowOrigin& origin) {
    for (const QByteArray& id : {origin.startupId, origin.leaderStartupId, origin.processStartupId})
        if (!id.isEmpty())
            for (Start& start : m_starts)
                if (start.launch.startupId == id) return &start;
    qint64 process = origin.processId;
    for (int step = 0; process > 1 && step < AncestorSteps; ++step) {
        for (Start& start : m_starts)
            if (start.launch.processId == process) return &start;
        process = m_system.parentProcess(process);
    }
    return nullptr;
}

WindowPolicy::Start* WindowPolicy::startOf(NativeWindow window) {
    const WindowOrigin origin = m_system.origin(window);
    if (Start* start = startByMarks(origin)) {
        start->hasMarkedWindow = true;
        return start;
    }
    // A window that says nothing of where it comes from (some older
    // toolkits set neither mark): the last start's, if it came soon after
    // it and that start has shown no window of its own.
    if (!origin.startupId.isEmpty() || !origin.leaderStartupId.isEmpty() || origin.processId != 0 ||
        m_starts.empty())
        return nullptr;
    const auto seen = m_seen.find(window);
    if (seen == m_seen.end() || seen->second == OpenBefore) return nullptr;
    Start& last = m_starts.back();
    const qint64 after = seen->second - last.at;
    if (last.hasMarkedWindow || after < 0 || after > UnmarkedWindowGrace) return nullptr;
    return &last;
}

WindowOwner WindowPolicy::ownerOf(NativeWindow window) {
    if (m_system.isBackdrop(window)) return WindowOwner::Backdrop;
    if (m_system.isOwnWindow(window)) return WindowOwner::Own;
    if (isExercise(window) || startOf(window)) return WindowOwner::Exercise;
    return WindowOwner::Other;
}

void WindowPolicy::activated(NativeWindow window) {
    if (window == 0 || m_system.isBackdrop(window)) {
        ruleFocusLeftNowhere();
        return;
    }
    m_system.reviewFurtherScreens();
    // Made active before the window manager listed it among its windows.
    m_seen.emplace(window, m_system.now());
    switch (ownerOf(window)) {
        case WindowOwner::Own:
            ruleOwnWindowActive(window);
            break;
        case WindowOwner::Exercise:
            ruleExerciseActive(window);
            break;
        default:
            ruleOtherWindowPutBehind();
            break;
    }
}

// The focus went nowhere, or to the black that takes none, as it may when
// the window in front (an exercise, a dialog) is closed: the program's window
// in front takes it, so that the keys work again. So too when a dialog in
// front was minimised and left the window it blocks on the screen, which
// would take no click. A window minimised alone comes back with a click on
// black.
void WindowPolicy::ruleFocusLeftNowhere() {
    if (m_front == 0) return;
    const bool ownFront = m_system.isOwnWindow(m_front);
    const bool blockerMinimised =
        ownFront && !m_system.isShown(m_front) && m_system.isOwnWindowShownBesides(m_front);
    if ((isExercise(m_front) && isClosed(m_front)) || blockerMinimised) {
        bringFrontBack(0);
    } else if (!ownFront && !isExercise(m_front) && isClosed(m_front)) {
        // One of the program's dialogs has closed: the window manager gives
        // the focus to the window under it, but some leave it nowhere. Only
        // then does the window in front take it, so as not to raise windows
        // under a pointer that is already at work.
        m_system.later(FocusAfterDialogDelay, [this] {
            const NativeWindow active = m_system.activeWindow();
            if (active == 0 || m_system.isBackdrop(active)) bringFrontBack(0);
        });
    }
}

// A window of the program is in front; an exercise's window waiting for the
// focus to come back through it gets it now.
void WindowPolicy::ruleOwnWindowActive(NativeWindow window) {
    m_front = window;
    m_handingOver = false;
    const NativeWindow back = m_keepFocusBack ? m_focusBackTo : std::exchange(m_focusBackTo, 0);
    if (back != 0 && !isClosed(back)) m_system.activate(back, 0);
}

// An exercise's window, new or open before, is in front: it belongs to the
// black as the program's own windows do.
void WindowPolicy::ruleExerciseActive(NativeWindow window) {
    m_front = window;
    std::erase(m_exercises, window);
    m_exercises.push_back(window);
    if (window == m_focusBackTo && !m_handingOver && !m_keepFocusBack) m_focusBackTo = 0;
    if (Start* start = startOf(window); start && !start->ended) {
        start->ended = true;
        if (!start->launch.startupId.isEmpty()) m_system.endStartup(start->launch.startupId);
    }
    if (!m_system.makeBelongToBackdrop(window)) return;
    if (const NativeWindow main = m_system.mainWindow()) {
        // Window managers work out whether the black stays over the panels
        // when the focus moves, and the window got the focus before it
        // belonged to the black: the focus goes to the main window, and back
        // to this one once the window manager reports it there. The program's
        // windows take no keys meanwhile.
        focusBackLater(window, true);
        m_system.activate(main, 0);
        return;
    }
    // Some window managers restack a window that gets an owner as a sibling
    // of the owner's other windows, below them: in front again.
    m_system.activate(window, 0);
}

// Another program's window came forward, or opened: the keys would go to a
// window that nobody should see, and that the window manager may have raised
// over the black. The black goes over it again, the window in front over the
// black.
void WindowPolicy::ruleOtherWindowPutBehind() {
    m_system.raiseBackdrops();
    bringFrontBack(0);
    // Some window managers (xfwm4) pass the focus on from the window put
    // behind to one of the program's own a moment later: an exercise in
    // front takes it back each time, within the hand-over's limit.
    if (isExercise(m_front)) m_keepFocusBack = true;
}

// Another program's window in front (an exercise) has closed, and the window
// manager, which may leave it named as the active window, gives the focus to
// no window of the program: the window in front takes it.
void WindowPolicy::ruleExerciseClosed() {
    if (m_front == 0 || !isExercise(m_front) || isManaged(m_front)) return;
    m_front = 0;
    bringFrontBack(0);
}

// Notes the time each new window was first seen; whether one of them is
// another program's, which the black must cover.
bool WindowPolicy::ruleNewWindowsSorted(const std::vector<NativeWindow>& managed) {
    bool otherOpened = false;
    const qint64 now = m_system.now();
    for (NativeWindow window : managed) {
        if (!m_seen.emplace(window, now).second) continue;
        const WindowOwner owner = ownerOf(window);
        // An exercise's from its first sight on, whatever starts come later.
        if (owner == WindowOwner::Exercise && !isExercise(window))
            m_exercises.insert(m_exercises.begin(), window);
        if (owner == WindowOwner::Other && m_system.isShown(window)) otherOpened = true;
    }
    return otherOpened;
}

// The windows that are gone are forgotten: the window system may give their
// names to new windows of other programs.
void WindowPolicy::forgetClosedWindows() {
    forgetClosedWindows(m_system.managedWindows());
}

void WindowPolicy::forgetClosedWindows(const std::vector<NativeWindow>& managed) {
    const auto gone = [&managed](NativeWindow window) {
        return std::find(managed.begin(), managed.end(), window) == managed.end();
    };
    std::erase_if(m_seen, [&gone](const auto& seen) { return gone(seen.first); });
    std::erase_if(m_exercises, gone);
}

void WindowPolicy::managedWindowsChanged() {
    // Asked of the window system once for the two rules that go through the
    // whole list.
    const std::vector<NativeWindow> managed = m_system.managedWindows();
    if (ruleNewWindowsSorted(managed)) ruleOtherWindowPutBehind();
    ruleExerciseClosed();
    forgetClosedWindows(managed);
}

void WindowPolicy::pressedOnBlack(quint64 time) {
    bringFrontBack(time);
}

// Minimised with the program's windows (some window managers take the whole
// family when one of them is minimised): once the black is back, the window
// that was in front is in front again, though the window manager may give
// the focus to another on the way.
void WindowPolicy::backdropMinimised() {
    const NativeWindow front = m_front;
    m_system.later(0, [this, front] {
        if (front == 0 || isClosed(front)) return;
        m_front = front;
        bringFrontBack(0);
    });
}

// Every window of the program belongs to the backdrop, so that the window
// manager keeps it in front of the backdrop. The main window takes the focus,
// which the window manager would leave with a window the backdrop may hide.
void WindowPolicy::ownWindowShown(NativeWindow window) {
    m_system.keepOwnWindowInFront(window);
    if (window != 0 && window == m_system.mainWindow()) m_system.focusOwnWindow(window);
}

// Once a window of the program has come to rest, possibly on another screen.
void WindowPolicy::ownWindowMoved() {
    const unsigned move = ++m_moves;
    m_system.later(RestAfterMove, [this, move] {
        if (move == m_moves) m_system.reviewFurtherScreens();
    });
}

void WindowPolicy::focusBackLater(NativeWindow window, bool handingOver) {
    m_focusBackTo = window;
    m_handingOver = handingOver;
    m_keepFocusBack = false;
    // A window manager that does not move the focus as asked leaves nothing
    // waiting for long.
    m_system.later(HandOverLimit, [this, window] {
        if (m_focusBackTo != window) return;
        m_focusBackTo = 0;
        m_handingOver = false;
        m_keepFocusBack = false;
    });
}

// The program's windows in front, the window in front last; an exercise's
// window that was in front goes in front again, with the focus, and so does
// one that was minimised meanwhile, which no taskbar could bring back from
// behind the black. Other minimised exercises come back only on a click on
// black; the window in front also when it was minimised together with the
// black.
void WindowPolicy::bringFrontBack(quint64 time) {
    m_system.reviewFurtherScreens();
    const NativeWindow ownFront = m_system.raiseOwnWindows(m_front);
    forgetClosedWindows();
    const bool afterClick = time != 0;
    NativeWindow exerciseFront = 0;
    for (NativeWindow exercise : m_exercises) {
        const bool wanted = exercise == m_front
                                ? m_system.isShown(exercise) || m_system.isMinimised(exercise)
                                : afterClick && m_system.isMinimised(exercise);
        if (wanted) exerciseFront = exercise;
    }
    if (exerciseFront != 0) {
        // In front from now on, also for a press reported again before the
        // window manager reports the window active. Some window managers
        // that bring a minimised window back give the focus to its owner's
        // family: it comes back from there.
        m_front = exerciseFront;
        focusBackLater(exerciseFront, false);
        m_system.activate(exerciseFront, time);
        return;
    }
    // The keys go to the window in front, not to one the backdrop now hides.
    if (ownFront == 0) return;
    m_system.focusOwnWindow(ownFront);
    m_system.activate(ownFront, time);
}

}  // namespace app
