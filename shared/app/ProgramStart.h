#pragma once

#include "shared/app/WindowSystem.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace app {

// How long the desktop hears that a start goes on, when the program never
// says that it has shown its window (programs of older toolkits).
inline constexpr int StartupTimeout = 15000;

// Starts the program without waiting for it, with the folder as its working
// directory. Where the desktop takes startup notification, the start is
// announced under an ID of its own that carries the time of the user's
// action (0 when unknown), and the program finds it in DESKTOP_STARTUP_ID:
// the window manager then gives the program's window the focus, and a
// program that hands the start to an instance already running passes the
// ID on to the window that instance brings forward. Returns the start, or
// nothing when the program could not be started.
std::optional<Launch> startProgram(const QString& program, const QString& folder,
                                   const QString& name, quint64 time);

// A startup ID unique to this process and start: "kelvu-<process>-<count>-<host>",
// and "_TIME<time>" after it when the time is known.
QByteArray makeStartupId(quint64 time);

}  // namespace app
