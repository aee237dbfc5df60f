#pragma once

// A folder in which no file can be created or replaced, for tests of saving
// that fails. Permissions alone do not bind the administrator (CI runs as
// root), so where they do not, the folder is made immutable as well.
#include <QFile>
#include <QProcess>
#include <QString>

class FolderLock {
public:
    explicit FolderLock(QString folder) : m_folder(std::move(folder)) {
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        if (!refusesNewFiles()) m_immutable = run(QStringLiteral("+i")) && refusesNewFiles();
        m_locked = refusesNewFiles();
    }
    ~FolderLock() {
        if (m_immutable) run(QStringLiteral("-i"));
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when this system offers no way to lock the folder.
    bool locked() const { return m_locked; }

private:
    bool refusesNewFiles() const {
        QFile probe(m_folder + QStringLiteral("/.skrivprov"));
        if (!probe.open(QIODevice::WriteOnly)) return true;
        probe.close();
        probe.remove();
        return false;
    }
    bool run(const QString& attribute) const {
        QProcess chattr;
        chattr.start(QStringLiteral("chattr"), {attribute, m_folder});
        return chattr.waitForFinished(10000) && chattr.exitStatus() == QProcess::NormalExit &&
               chattr.exitCode() == 0;
    }

    QString m_folder;
    bool m_immutable = false;
    bool m_locked = false;
};
