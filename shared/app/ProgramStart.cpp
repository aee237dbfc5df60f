#include "shared/app/ProgramStart.h"

#include "shared/app/PlatformWindows.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>
#include <QTimer>

namespace app {

namespace {

const QString StartupIdVariable = QStringLiteral("DESKTOP_STARTUP_ID");

// Letters, digits, dots and hyphens only: an ID needs no quoting anywhere.
QByteArray plain(const QString& text) {
    QByteArray bytes = text.toUtf8();
    for (char& each : bytes)
        if (!QChar::isLetterOrNumber(static_cast<uchar>(each)) || static_cast<uchar>(each) > 127)
            if (each != '.' && each != '-') each = '-';
    return bytes;
}

}  // namespace

QByteArray makeStartupId(quint64 time) {
    static unsigned count = 0;
    QByteArray id = "kelvu-" + QByteArray::number(QCoreApplication::applicationPid()) + '-' +
                    QByteArray::number(++count) + '-' + plain(QSysInfo::machineHostName());
    if (time != 0) id += "_TIME" + QByteArray::number(time);
    return id;
}

std::optional<Launch> startProgram(const QString& program, const QString& folder,
                                   const QString& name, quint64 time) {
    Launch launch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Never an ID the program itself was started with.
    environment.remove(StartupIdVariable);
    const QByteArray id = makeStartupId(time);
    if (announceStartup(id, name, program)) {
        launch.startupId = id;
        environment.insert(StartupIdVariable, QString::fromLatin1(id));
    }
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    if (!process.startDetached(&launch.processId)) {
        endStartup(launch.startupId);
        return std::nullopt;
    }
    if (!launch.startupId.isEmpty())
        QTimer::singleShot(StartupTimeout, QCoreApplication::instance(), [id] { endStartup(id); });
    return launch;
}

}  // namespace app
