#pragma once
// A strip across the top of the preview that says an action has just made
// texts hard to read, with "Показать" (the list) and "Исправить" (the
// colours) in it, and a close box. It stays until closed or replaced. Where
// one row would cut the message's words, the links go on a row under it.

#include <QFrame>

class QGridLayout;
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

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool fitsOneRow(int width) const;
    void arrange(bool oneRow);

    QGridLayout *m_grid;
    QLabel *m_text;
    QWidget *m_links;
    QToolButton *m_show;
    QToolButton *m_fix;
    QToolButton *m_close;
    bool m_oneRow = true;
};

} // namespace zelkor
