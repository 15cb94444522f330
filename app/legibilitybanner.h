#pragma once
// A strip across the top of the preview that says an action has just made
// texts hard to read, with "Показать" (the list) and "Исправить" (the
// colours) in it, and a close box. It stays until closed or replaced.

#include <QFrame>

class QLabel;
class QToolButton;

namespace zelkor {

class LegibilityBanner : public QFrame {
    Q_OBJECT
public:
    explicit LegibilityBanner(QWidget *parent = nullptr);

    void showMessage(const QString &text);
    QString message() const;
    QToolButton *showButton() const { return m_show; }
    QToolButton *fixButton() const { return m_fix; }

signals:
    void showRequested();
    void fixRequested();

private:
    QLabel *m_text;
    QToolButton *m_show;
    QToolButton *m_fix;
};

} // namespace zelkor
