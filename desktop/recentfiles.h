#pragma once
// The skin files opened or saved, newest first, kept in the preferences. The
// "Недавние файлы" menu follows `changed`. When given the desktop's recent
// list (an XBEL file), each added file goes there too, as a courtesy to other
// programs.

#include <QObject>
#include <QString>
#include <QStringList>

namespace zelkor {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kCapacity = 10;

    explicit RecentFiles(QObject *parent = nullptr) : QObject(parent) {}

    QStringList files() const;
    // Puts `path` (made absolute) first, the oldest beyond kCapacity dropping off.
    void add(const QString &path);
    void remove(const QString &path);
    // Also passes each added file to the desktop's list at `xbelPath`; empty: not.
    void keepDesktopList(const QString &xbelPath) { m_desktopList = xbelPath; }

signals:
    void changed();

private:
    QString m_desktopList;
};

} // namespace zelkor
