// The rules of which windows lie in front of the black backdrop, as a table:
// what the window system reports and the program does, step by step, against
// a small fake window system, and what the policy asks of it.
#include "shared/app/WindowPolicy.h"

#include <QStringList>
#include <QTest>

#include <algorithm>
#include <map>

using app::NativeWindow;

namespace {

struct FakeWindow {
    explicit FakeWindow(bool ownWindow = false) : own(ownWindow) {}
    bool own, shown = true, minimised = false;
    app::WindowOrigin origin;
};

// Windows are numbered; 1 is the program's main window, 99 the black. Each
// request is written down as a short line.
class FakeSystem final : public app::WindowSystem {
public:
    std::map<NativeWindow, FakeWindow> windows;
    std::map<qint64, qint64> parents;
    std::multimap<qint64, std::function<void()>> timers;
    NativeWindow active = 0;
    qint64 clock = 0;
    QStringList requests;
    std::map<NativeWindow, bool> belonging;

    void advance(qint64 milliseconds) {
        const qint64 until = clock + milliseconds;
        while (!timers.empty() && timers.begin()->first <= until) {
            auto due = timers.extract(timers.begin());
            clock = due.key();
            due.mapped()();
        }
        clock = until;
    }
    const FakeWindow* at(NativeWindow window) const {
        const auto found = windows.find(window);
        return found == windows.end() ? nullptr : &found->second;
    }

    qint64 now() const override { return clock; }
    void later(int ms, std::function<void()> step) override { timers.emplace(clock + ms, step); }
    bool isBackdrop(NativeWindow window) const override { return window == 99; }
    bool isOwnWindow(NativeWindow window) const override { return at(window) && at(window)->own; }
    NativeWindow mainWindow() const override { return 1; }
    bool isOwnWindowShownBesides(NativeWindow window) const override {
        return std::any_of(windows.begin(), windows.end(), [window](const auto& each) {
            return each.first != window && each.second.own && each.second.shown;
        });
    }
    bool isShown(NativeWindow window) const override { return at(window) && at(window)->shown; }
    bool isMinimised(NativeWindow window) const override {
        return at(window) && at(window)->minimised;
    }
    std::vector<NativeWindow> managedWindows() const override {
        std::vector<NativeWindow> managed;
        for (const auto& each : windows) managed.push_back(each.first);
        return managed;
    }
    NativeWindow activeWindow() const override { return active; }
    app::WindowOrigin origin(NativeWindow window) const override {
        return at(window) ? at(window)->origin : app::WindowOrigin{};
    }
    qint64 parentProcess(qint64 process) const override {
        return parents.count(process) ? parents.at(process) : 0;
    }

    void raiseBackdrops() override { requests << QStringLiteral("black up"); }
    NativeWindow raiseOwnWindows(NativeWindow front) override {
        requests << QStringLiteral("own up");
        for (auto& each : windows)
            if (each.second.own && each.second.minimised) each.second = FakeWindow(true);
        return isOwnWindow(front) && isShown(front) ? front : (isShown(1) ? 1 : 0);
    }
    void keepOwnWindowInFront(NativeWindow w) override {
        requests << QStringLiteral("keep %1").arg(w);
    }
    void focusOwnWindow(NativeWindow w) override { requests << QStringLiteral("focus %1").arg(w); }
    void activate(NativeWindow window, quint64 time) override {
        requests << QStringLiteral("activate %1").arg(window) +
                        (time ? QStringLiteral("@%1").arg(time) : QString());
    }
    bool makeBelongToBackdrop(NativeWindow window) override {
        if (belonging[window]) return false;
        requests << QStringLiteral("belong %1").arg(window);
        return belonging[window] = true;
    }
    void reviewFurtherScreens() override {}
    void endStartup(const QByteArray& id) override {
        requests << QStringLiteral("end ") + QString::fromLatin1(id);
    }
};

// "id=A" (on the window), "leader=A" (on its client leader), "pid=N" and
// "env=A" (its process's) after a window's number.
app::WindowOrigin originOf(const QStringList& words) {
    app::WindowOrigin origin;
    for (const QString& word : words.mid(2)) {
        if (word.startsWith(u"id=")) origin.startupId = word.mid(3).toLatin1();
        if (word.startsWith(u"pid=")) origin.processId = word.mid(4).toLongLong();
        if (word.startsWith(u"env=")) origin.processStartupId = word.mid(4).toLatin1();
        if (word.startsWith(u"leader=")) origin.leaderStartupId = word.mid(7).toLatin1();
    }
    return origin;
}

}  // namespace

class TestWindowPolicy : public QObject {
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
};

void TestWindowPolicy::rules_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("requests");
    QTest::addColumn<bool>("holdsKeys");
    // Before "start": what was open when the backdrop came. Steps: "own N",
    // "before N …", "new N …" (appears; "hidden": not on the screen), "launch PID ID", "parent
    // CHILD PARENT", "mark N leader=…", "active N", "close N" (gone), "hide N", "minimise N",
    // "destroy N" (a window of the program that is no more), "click TIME" (on black), "blackmin",
    // "show N", "wait MS".
    const QString exercise = QStringLiteral("start; launch 100 A; new 5 id=A; active 5");
    QTest::newRow(
        "a new window with the start's ID belongs to the black, the focus passes "
        "through the main window")
        << exercise << "end A; belong 5; activate 1" << true;
    QTest::newRow("the focus comes back to it from the main window")
        << exercise + QStringLiteral("; active 1") << "end A; belong 5; activate 1; activate 5"
        << false;
    QTest::newRow("one of the started program's descendants")
        << "parent 102 101; parent 101 100; start; launch 100 A; new 5 pid=102; active 5"
        << "end A; belong 5; activate 1" << true;
    QTest::newRow("a program started under the start's ID by a script that has ended")
        << "start; launch 100 A; new 5 pid=300 env=A; active 5"
        << "end A; belong 5; activate 1" << true;
    QTest::newRow("a one-instance program open before, brought forward with the start's ID")
        << "before 7 pid=900; start; launch 100 A; mark 7 leader=A; active 7"
        << "end A; belong 7; activate 1" << true;
    QTest::newRow("the same program forward before the start: behind the black")
        << "before 7 pid=900; start; active 7"
        << "black up; own up; focus 1; activate 1" << false;
    QTest::newRow("another program's window opened during the lesson")
        << "start; active 1; new 8 pid=555; active 8"
        << "black up; own up; focus 1; activate 1; black up; own up; focus 1; activate 1" << false;
    QTest::newRow("another program's process, soon after the start: not the start's")
        << "start; launch 100 A; new 8 pid=555; active 8"
        << "black up; own up; focus 1; activate 1; black up; own up; focus 1; activate 1" << false;
    QTest::newRow("the start's ID on the client leader, an older one on the window")
        << "before 7 id=Z; start; launch 100 A; mark 7 leader=A; active 7"
        << "end A; belong 7; activate 1" << true;
    QTest::newRow("a window taken for the start's when it opened stays the start's")
        << "start; launch 100 A; new 6; launch 101 B; new 5 id=B; active 6"
        << "belong 6; activate 1" << true;
    QTest::newRow("another program's window opens with an exercise in front: it keeps the focus")
        << exercise + QStringLiteral(
                          "; active 1; active 5; new 8 pid=555; active 5; active 1; "
                          "active 5; active 1")
        << "end A; belong 5; activate 1; activate 5; black up; own up; activate 5; activate 5; "
           "activate 5"
        << false;
    QTest::newRow("another start's ID is not this one's")
        << "start; launch 100 A; new 8 id=B pid=555; active 8"
        << "black up; own up; focus 1; activate 1; black up; own up; focus 1; activate 1" << false;
    QTest::newRow("a window that says nothing, soon after the start: the start's")
        << "start; launch 100 A; wait 4999; new 6; active 6"
        << "end A; belong 6; activate 1" << true;
    QTest::newRow("…but not after the grace") << "start; launch 100 A; wait 5001; new 6"
                                              << "black up; own up; focus 1; activate 1" << false;
    QTest::newRow("…nor once the start has shown a window of its own")
        << "start; launch 100 A; new 5 id=A; new 6"
        << "black up; own up; focus 1; activate 1" << false;
    QTest::newRow("a new window that is not on the screen is left alone")
        << "start; new 8 pid=555 hidden"
        << "" << false;
    QTest::newRow("the exercise closes: the runner in front with the focus")
        << exercise + QStringLiteral("; active 1; active 5; close 5")
        << "end A; belong 5; activate 1; activate 5; own up; focus 1; activate 1" << false;
    QTest::newRow("…also when the window manager only moves the focus to nowhere")
        << exercise + QStringLiteral("; active 1; active 5; hide 5; active 0")
        << "end A; belong 5; activate 1; activate 5; own up; focus 1; activate 1" << false;
    QTest::newRow("a click on black leaves the exercise in front")
        << exercise + QStringLiteral("; active 1; active 5; click 42")
        << "end A; belong 5; activate 1; activate 5; own up; activate 5@42" << false;
    QTest::newRow("a click on black brings a minimised exercise back")
        << exercise + QStringLiteral("; active 1; active 5; minimise 5; click 9")
        << "end A; belong 5; activate 1; activate 5; own up; activate 5@9" << false;
    QTest::newRow("keys are held back no longer than the hand-over's limit")
        << exercise + QStringLiteral("; wait 1000") << "end A; belong 5; activate 1" << false;
    QTest::newRow("a click on black with the program's window in front")
        << "start; active 1; click 7"
        << "own up; focus 1; activate 1@7" << false;
    QTest::newRow("a dialog closes and the focus goes nowhere: the main window takes it")
        << "own 2; start; active 2; destroy 2; active 0; wait 250"
        << "own up; focus 1; activate 1" << false;
    QTest::newRow("…unless the window manager gives it the focus meanwhile")
        << "own 2; start; active 2; destroy 2; active 0; active 1; wait 250"
        << "" << false;
    QTest::newRow("a dialog minimised alone, leaving its blocked window: back in front")
        << "own 2; start; active 2; minimise 2; active 0"
        << "own up; focus 2; activate 2" << false;
    QTest::newRow("the black minimised with the program: the window in front again")
        << "start; active 1; blackmin; wait 0"
        << "own up; focus 1; activate 1" << false;
    QTest::newRow("the program's windows as they are shown: the main one takes the focus")
        << "own 2; start; show 1; show 2"
        << "keep 1; focus 1; keep 2" << false;
}

void TestWindowPolicy::rules() {
    QFETCH(QString, steps);
    QFETCH(QString, requests);
    QFETCH(bool, holdsKeys);
    FakeSystem system;
    system.windows.emplace(1, FakeWindow(true));
    app::WindowPolicy policy(system);
    for (const QString& step : steps.split(u';')) {
        const QStringList words = step.split(u' ', Qt::SkipEmptyParts);
        const QString& verb = words.at(0);
        const NativeWindow window = words.size() > 1 ? words.at(1).toULongLong() : 0;
        FakeWindow* known = system.windows.count(window) ? &system.windows[window] : nullptr;
        if (verb == u"start") {
            policy.start();
        } else if (verb == u"own") {
            system.windows.insert_or_assign(window, FakeWindow(true));
        } else if (verb == u"before" || verb == u"new") {
            const bool shown = !words.contains(QStringLiteral("hidden"));
            FakeWindow& other = system.windows.insert_or_assign(window, FakeWindow()).first->second;
            other.shown = shown;
            other.origin = originOf(words);
            if (verb == u"new") policy.managedWindowsChanged();
        } else if (verb == u"launch") {
            policy.launched({words.at(2).toLatin1(), words.at(1).toLongLong()});
        } else if (verb == u"parent") {
            system.parents[words.at(1).toLongLong()] = words.at(2).toLongLong();
        } else if (verb == u"mark") {
            known->origin.leaderStartupId = originOf(words).leaderStartupId;
        } else if (verb == u"active") {
            system.active = window;
            policy.activated(window);
        } else if (verb == u"close" || verb == u"destroy") {
            system.windows.erase(window);
            if (verb == u"close") policy.managedWindowsChanged();
        } else if (verb == u"hide" || verb == u"minimise") {
            known->shown = false;
            known->minimised = verb == u"minimise";
        } else if (verb == u"click") {
            policy.pressedOnBlack(words.at(1).toULongLong());
        } else if (verb == u"blackmin") {
            policy.backdropMinimised();
        } else if (verb == u"show") {
            policy.ownWindowShown(window);
        } else if (verb == u"wait") {
            system.advance(words.at(1).toLongLong());
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step: ") + step));
        }
    }
    QCOMPARE(system.requests.join(QStringLiteral("; ")), requests);
    QCOMPARE(policy.holdsKeys(), holdsKeys);
}

QTEST_GUILESS_MAIN(TestWindowPolicy)
#include "tst_window_policy.moc"
