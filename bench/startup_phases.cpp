// Where the start-up time goes: runs the start-up of Kelvu or Kelvuadm as
// their main() does, with the same classes, and reads the clock between the
// steps. Run in a folder with a menu file, on the X display.
//
//   bench_startup_phases kelvu|kelvuadm
//
// Prints one line of milliseconds: "application A fonts F translation T
// window W load L painted P": creating the QApplication (platform plugin,
// X connection), the font substitutes, the Swedish translation, building
// the main window, its load handler (backdrop, menu file, pictures), and
// from show() to the end of the window's first paint.
#include "runner/Form1.h"
#include "shared/app/Fonts.h"
#include "shared/app/PlatformWindows.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Translation.h"
#include "supervisor/Form1.h"
#include "supervisor/Global.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// Notes the first paint event of a window. The paint of its controls and the
// flush to the screen follow in the same pass of the event loop, which has
// ended when processEvents() returns.
class PaintWatch final : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    const bool runner = argc > 1 && std::strcmp(argv[1], "kelvu") == 0;
    double at[6] = {};
    auto mark = [&clock](double& slot) { slot = static_cast<double>(clock.nsecsElapsed()) / 1e6; };

    app::chooseWindowSystem();
    QApplication application(argc, argv);
    // As the supervisor's main() does.
    std::optional<app::FontConfigurationReader> fontConfiguration;
    if (!runner) fontConfiguration.emplace();
    mark(at[0]);
    app::installFontSubstitutes();
    mark(at[1]);
    app::installSwedishTranslation();
    mark(at[2]);

    std::unique_ptr<kelvu::Form1> runnerWindow;
    QWidget* window = nullptr;
    if (runner) {
        runnerWindow = std::make_unique<kelvu::Form1>();
        window = runnerWindow.get();
    } else {
        window = &kelvuadm::Global::MainWindow();
    }
    mark(at[3]);
    if (runner)
        app::runHandler([&] { runnerWindow->Form_Load(); });
    else
        app::runHandler([] { kelvuadm::Global::MainWindow().Form_Load(); });
    if (app::endRequested()) return 1;
    mark(at[4]);

    PaintWatch watch;
    window->installEventFilter(&watch);
    window->show();
    QElapsedTimer deadline;
    deadline.start();
    while (!watch.painted && deadline.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!watch.painted) return 1;
    mark(at[5]);

    std::printf("application %.1f fonts %.1f translation %.1f window %.1f load %.1f painted %.1f\n",
                at[0], at[1] - at[0], at[2] - at[1], at[3] - at[2], at[4] - at[3], at[5] - at[4]);
    std::fflush(stdout);
    // As the supervisor's main() does: its window must go before the application.
    if (!runner) kelvuadm::Global::ResetState();
    return 0;
}
