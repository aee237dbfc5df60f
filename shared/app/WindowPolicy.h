#pragma once

#include "shared/app/WindowSystem.h"

#include <map>
#include <vector>

namespace app {

// Who a window belongs to, as the black backdrop sees it.
enum class WindowOwner {
    Backdrop,  // one of the black windows
    Own,       // the program's own windows: main window, dialogs, message boxes
    Exercise,  // a window of an exercise the program started
    Other,     // every other window, open before or opened since: kept behind the black
};

// Which windows lie in front of the black backdrop, and which has the focus.
// It is told what the window system reports (a window made active, the
// managed windows changed, a press on black, the black minimised) and what
// the program does (a window of its own shown or moved, an exercise
// started), and asks the window system for what follows; it knows nothing of
// widgets or of any window system's protocol.
//
// The program's own windows and the exercises' windows lie in front of the
// black; the one that was last active there is the window in front. Every
// other window stays behind the black, and one that comes forward of itself
// is put behind it again. A window is an exercise's when it carries the
// startup ID of one of the starts, or when its process is a started program
// or one of that program's descendants or was started under that ID,
// whether the window is new or was open before; a window that says neither, new within a short
// while after a start that has shown no window yet, is taken for that start's too.
class WindowPolicy final {
public:
    // How long after a start a new window that says nothing of its origin
    // is still taken for the started program's.
    static constexpr qint64 UnmarkedWindowGrace = 5000;
    // How long a hand-over of the focus waits for the window manager.
    static constexpr int HandOverLimit = 1000;
    // How long after one of the program's dialogs has closed the window
    // manager may take to give the focus to the window under it.
    static constexpr int FocusAfterDialogDelay = 250;
    // How long a window of the program must rest before the blacks on
    // further screens are reviewed.
    static constexpr int RestAfterMove = 250;

    explicit WindowPolicy(WindowSystem& system);

    // The backdrop is up: the windows open now are other programs' and stay behind it.
    void start();
    // An exercise program was started.
    void launched(const Launch& launch);
    // The window system reports.
    void activated(NativeWindow window);
    void managedWindowsChanged();
    void pressedOnBlack(quint64 time);
    void backdropMinimised();
    // The program's own windows.
    void ownWindowShown(NativeWindow window);
    void ownWindowMoved();
    // Whether keys meant for another program's window are held back from the program's.
    bool holdsKeys() const { return m_handingOver; }

    WindowOwner ownerOf(NativeWindow window);

private:
    struct Start {
        Launch launch;
        qint64 at = 0;                 // when it was started, on the system's clock
        bool hasMarkedWindow = false;  // a window carries its ID or its process
        bool ended = false;            // the desktop was told that it has shown its window
    };

    // The rules, each for one kind of event.
    void ruleFocusLeftNowhere();
    void ruleOwnWindowActive(NativeWindow window);
    void ruleExerciseActive(NativeWindow window);
    void ruleOtherWindowPutBehind();
    void ruleExerciseClosed();
    bool ruleNewWindowsSorted(const std::vector<NativeWindow>& managed);

    void forgetClosedWindows();
    void forgetClosedWindows(const std::vector<NativeWindow>& managed);
    void bringFrontBack(quint64 time);
    void focusBackLater(NativeWindow window, bool handingOver);
    Start* startOf(NativeWindow window);
    Start* startByMarks(const WindowOrigin& origin);
    bool isExercise(NativeWindow window) const;
    bool isClosed(NativeWindow window) const;
    bool isManaged(NativeWindow window) const;

    WindowSystem& m_system;
    std::vector<Start> m_starts;
    // Every window the window manager has been seen to manage, with the
    // time it first was; those open when the backdrop came have none.
    std::map<NativeWindow, qint64> m_seen;
    // Exercises' windows, those that have been active in front of the black
    // last, the one last active at the end.
    std::vector<NativeWindow> m_exercises;
    // The window that was last active in front of the black.
    NativeWindow m_front = 0;
    // An exercise's window that gets the focus back once the window manager
    // reports it on one of the program's windows; and whether the focus is on
    // its way through the main window, when the program's windows take no keys.
    NativeWindow m_focusBackTo = 0;
    bool m_handingOver = false;
    // Whether that window takes the focus back every time until the limit,
    // not only once.
    bool m_keepFocusBack = false;
    // Counts the program's windows' moves, so that only the last one's review runs.
    unsigned m_moves = 0;
};

}  // namespace app
