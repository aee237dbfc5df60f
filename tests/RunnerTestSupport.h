#pragma once

// Shared steps of the runner's widget tests: a fresh folder as the current
// directory, menus, exercise programs and pictures written there, and the
// window loaded as the program loads it, with its run-time errors and its
// end caught instead of ending the test.
#include "runner/Form1.h"
#include "shared/app/ProgramControl.h"
#include "shared/controls/SSCommand.h"
#include "shared/core/RuntimeError.h"
#include "tests/TestFiles.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace support {

inline void savePicture(const QString& path, QColor colour, const char* format = nullptr) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, format)) qFatal("cannot save %s", qPrintable(path));
}

// A test class derives from it beside QObject and calls setUp() from init()
// and tearDown() from cleanup().
class RunnerFixture {
protected:
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_startDir;
    std::optional<core::RuntimeError> m_error;
    std::optional<int> m_endStatus;
    std::unique_ptr<kelvu::Form1> m_form;

    // A fresh folder as the current directory; errors and ends are caught.
    bool setUp() {
        if (m_startDir.isEmpty()) m_startDir = QDir::currentPath();
        m_home = std::make_unique<QTemporaryDir>();
        if (!m_home->isValid() || !QDir::setCurrent(m_home->path())) return false;
        m_error.reset();
        m_endStatus.reset();
        app::resetProgramControl();
        app::setErrorObserver([this](const core::RuntimeError& e) { m_error = e; });
        app::setEndObserver([this](int status) { m_endStatus = status; });
        return true;
    }
    void tearDown() {
        m_form.reset();
        app::setErrorObserver({});
        app::setEndObserver({});
        QDir::setCurrent(m_startDir);
        m_home.reset();
    }

    QString home(const QString& name = QString()) const {
        return name.isEmpty() ? m_home->path() : m_home->filePath(name);
    }
    // Writes "kelvu.ini" with exercises given as (name, folder) pairs.
    void writeMenu(int count, int cardType, const QList<QPair<QString, QString>>& exercises,
                   int reward, const QString& pictureFolder = QString(),
                   const QString& pictureName = QString()) const {
        QByteArray bytes = integer(count) + integer(cardType);
        for (const auto& [name, folder] : exercises) bytes += quoted(name) + quoted(folder);
        bytes += integer(reward);
        if (reward == 0) bytes += quoted(pictureFolder) + quoted(pictureName);
        writeFile(home(QStringLiteral("kelvu.ini")), bytes);
    }
    // An exercise program that appends its tag and working folder to a log.
    QString writeExercise(const QString& folder, const QString& name, const QString& tag) const {
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(name);
        writeFile(path, "#!/bin/sh\necho \"" + tag.toUtf8() + " $(pwd)\" >> \"" +
                            home(QStringLiteral("started.log")).toUtf8() + "\"\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
        return path;
    }
    // The log's lines, one a started exercise.
    QStringList startedLog() const {
        QFile file(home(QStringLiteral("started.log")));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // Runs the load handler as the program does, then shows the window
    // unless the program ended.
    void load() {
        m_form = std::make_unique<kelvu::Form1>();
        app::runHandler([this] { m_form->Form_Load(); });
        if (!m_endStatus) m_form->show();
    }
    SSCommand* card(int i) const { return m_form->cards().at(static_cast<std::size_t>(i)); }
};

}  // namespace support
