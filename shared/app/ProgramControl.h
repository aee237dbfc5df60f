#pragma once

#include "shared/core/RuntimeError.h"

#include <functional>

// The one place where run-time errors are reported and where a program ends
// at once.
//
// Every event handler runs through runHandler(): a RuntimeError escaping it
// shows the standard error message and ends the program. Ending "at once"
// hides every window and leaves the event loop without running any window's
// close handler. Tests replace the message box and the ending with observers
// so that both can be seen without the test process ending.
namespace app {

// Runs one event handler. A run-time error escaping it is reported by
// reportRuntimeError(). Once the program is ending, no handler runs any more.
void runHandler(const std::function<void()>& handler);

// A slot that runs the member function as an event handler, for connect():
// connect(button, &QPushButton::clicked, this, handlerFor(this, &Form1::OK_Click)).
template <class Window, class... Args>
auto handlerFor(Window* window, void (Window::*handler)(Args...)) {
    return [window, handler](Args... args) { runHandler([&] { (window->*handler)(args...); }); };
}

// Shows the standard error message (number, name, description) and waits
// until it is acknowledged. The program goes on afterwards.
void showRuntimeError(const core::RuntimeError& error);

// Shows the standard error message, then ends the program at once with a
// failure status.
void reportRuntimeError(const core::RuntimeError& error);

// Ends the program at once with the given exit status: every window
// disappears, no close handler runs, the event loop returns the status. Safe
// to call before the event loop runs; main() then returns endStatus().
void endAtOnce(int status);

// Whether endAtOnce() has been called, and with which status.
bool endRequested();
int endStatus();

// Exit status of a program that ended on a run-time error.
inline constexpr int RuntimeErrorExitStatus = 1;

// For tests: an observer called instead of showing the message box, and one
// called instead of ending. Passing empty functions restores the real
// behaviour. resetProgramControl() forgets an earlier end request.
void setErrorObserver(std::function<void(const core::RuntimeError&)> observer);
void setEndObserver(std::function<void(int)> observer);
void resetProgramControl();

}  // namespace app
