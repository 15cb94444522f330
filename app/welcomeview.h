#pragma once
// What the empty window shows: the three ways to a skin ("Новый", "Новый из
// картинки…", "Загрузить"), the recent files with their pictures, and a place
// to drop a skin file (the window takes the drop). It covers the widget it
// is made on and keeps to its size.

#include <QFrame>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace zelkor {

class WelcomeView : public QFrame {
    Q_OBJECT
public:
    explicit WelcomeView(QWidget *host);

    // The recent files, newest first; each shows its thumbnail from the cache, if any.
    void setRecentFiles(const QStringList &files);
    QListWidget *recentList() const { return m_recent; }
    QPushButton *newButton() const { return m_new; }
    QPushButton *fromPictureButton() const { return m_fromPicture; }
    QPushButton *loadButton() const { return m_load; }

signals:
    void newRequested();
    void fromPictureRequested();
    void loadRequested();
    void recentChosen(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *m_new;
    QPushButton *m_fromPicture;
    QPushButton *m_load;
    QListWidget *m_recent;
    QWidget *m_recentTitle;
};

} // namespace zelkor
