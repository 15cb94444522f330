#pragma once
// The folder where one running editor keeps its scratch files: unpacked and
// packed sheets, the converter's output before it is moved, the pictures'
// working files. One per user and per running instance, below the user's
// cache folder, so an installed, read-only program folder is never written
// to and two editors never share a file. It is created on start and removed
// on exit; a folder left behind by a crashed run is removed at the next start.

#include <QLockFile>
#include <QString>

#include <memory>

namespace zelkor {

class WorkFolder {
public:
    // Below `base`, or below the user's cache location when `base` is empty.
    explicit WorkFolder(const QString &base = {});
    ~WorkFolder();
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    // Why the folder could not be made (when not valid).
    QString error() const { return m_error; }
    QString path() const { return m_path; }
    QString filePath(const QString &relative) const;

    // The folder that holds every instance's folder.
    static QString defaultBase();

private:
    static void removeStaleSiblings(const QString &base);

    QString m_path;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace zelkor
