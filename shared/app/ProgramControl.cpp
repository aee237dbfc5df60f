#include "shared/app/ProgramControl.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace app {
namespace {

struct ControlState {
    std::function<void(const core::RuntimeError&)> errorObserver;
    std::function<void(int)> endObserver;
    bool ended = false;
    int status = 0;
};

ControlState& state() {
    static ControlState s;
    return s;
}

}  // namespace

void runHandler(const std::function<void()>& handler) {
    // Once the program is ending no further handler runs.
    if (state().ended) return;
    // Caught here at every depth, nested handlers included: an exception
    // must not travel through Qt's signal delivery.
    try {
        handler();
    } catch (const core::RuntimeError& error) {
        reportRuntimeError(error);
    }
}

void showRuntimeError(const core::RuntimeError& error) {
    if (state().errorObserver) {
        state().errorObserver(error);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), error.message(),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void reportRuntimeError(const core::RuntimeError& error) {
    showRuntimeError(error);
    endAtOnce(RuntimeErrorExitStatus);
}

void endAtOnce(int status) {
    if (state().ended) return;
    state().ended = true;
    state().status = status;
    if (state().endObserver) {
        state().endObserver(status);
        return;
    }
    // Hiding is not closing: no close handler runs.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) window->hide();
    QCoreApplication::exit(status);
}

bool endRequested() {
    return state().ended;
}
int endStatus() {
    return state().status;
}

void setErrorObserver(std::function<void(const core::RuntimeError&)> observer) {
    state().errorObserver = std::move(observer);
}

void setEndObserver(std::function<void(int)> observer) {
    state().endObserver = std::move(observer);
}

void resetProgramControl() {
    state().ended = false;
    state().status = 0;
}

}  // namespace app
