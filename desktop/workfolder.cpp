#include "workfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zelkor {

namespace {
const QString kLockName = QStringLiteral(".lock");
const QString kPattern = QStringLiteral("instance-XXXXXX");
} // namespace

QString WorkFolder::defaultBase()
{
    // The cache folder as the XDG rules have it: $XDG_CACHE_HOME when it is
    // an absolute path (a relative one is ignored), else ~/.cache -- but a
    // home that does not exist is not ours to create; the system's temporary
    // folder serves then.
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache)) {
        const QString home = qEnvironmentVariable("HOME");
        cache = QDir::isAbsolutePath(home) && QFileInfo(home).isDir() ? QDir(home).filePath(QStringLiteral(".cache"))
                                                                      : QDir::tempPath();
    }
    return QDir(cache).filePath(QStringLiteral("zelkor-skin-editor"));
}

WorkFolder::WorkFolder(const QString &requestedBase)
{
    const QString base = requestedBase.isEmpty() ? defaultBase() : requestedBase;
    if (!QDir().mkpath(base)) {
        m_error = QStringLiteral("Не удаётся создать папку «%1».").arg(QDir::toNativeSeparators(base));
        return;
    }
    removeStaleSiblings(base);
    QTemporaryDir dir(QDir(base).filePath(kPattern));
    if (!dir.isValid()) {
        m_error = QStringLiteral("Не удаётся создать рабочую папку в «%1»: %2")
                      .arg(QDir::toNativeSeparators(base), dir.errorString());
        return;
    }
    // The lock marks the folder as ours while we live; a crashed run leaves a
    // lock whose process is gone, which the next start recognises as stale.
    auto lock = std::make_unique<QLockFile>(QDir(dir.path()).filePath(kLockName));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        m_error = QStringLiteral("Не удаётся занять рабочую папку «%1».").arg(QDir::toNativeSeparators(dir.path()));
        return;
    }
    dir.setAutoRemove(false);
    m_path = dir.path();
    m_lock = std::move(lock);
}

WorkFolder::~WorkFolder()
{
    if (m_path.isEmpty())
        return;
    m_lock->unlock();
    m_lock.reset();
    QDir(m_path).removeRecursively();
}

QString WorkFolder::filePath(const QString &relative) const
{
    return QDir(m_path).filePath(relative);
}

void WorkFolder::removeStaleSiblings(const QString &base)
{
    const QDir dir(base);
    for (const QString &name : dir.entryList({QStringLiteral("instance-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = dir.filePath(name);
        // A link planted under our name goes itself; what it points to is not ours.
        if (QFileInfo(folder).isSymLink()) {
            QFile::remove(folder);
            continue;
        }
        // Another editor may be between making its folder and locking it.
        const QFileInfo lockInfo(QDir(folder).filePath(kLockName));
        if (!lockInfo.exists() && QFileInfo(folder).lastModified().secsTo(QDateTime::currentDateTime()) < 60)
            continue;
        QLockFile lock(QDir(folder).filePath(kLockName));
        lock.setStaleLockTime(0);
        // A live instance holds its lock; anything we can take is left over.
        if (lock.tryLock(0)) {
            lock.unlock();
            QDir(folder).removeRecursively();
        }
    }
}

} // namespace zelkor
