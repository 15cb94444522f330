#include "legibilitybanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace zelkor {

LegibilityBanner::LegibilityBanner(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("legibilityBanner"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    // A warning's yellow whatever the style: the preview under it is white.
    setStyleSheet(QStringLiteral("#legibilityBanner { background: #fff4c2; color: black; border: 1px solid #c9a227; }"
                                 "QToolButton { color: #0b4fa8; text-decoration: underline; border: none; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 3, 3);
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    row->addWidget(icon);
    m_text = new QLabel(this);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    row->addWidget(m_text, 1);
    const auto link = [this, row](const QString &text) {
        auto *b = new QToolButton(this);
        b->setText(text);
        b->setCursor(Qt::PointingHandCursor);
        row->addWidget(b);
        return b;
    };
    m_show = link(QStringLiteral("Показать"));
    row->addWidget(new QLabel(QStringLiteral("·"), this));
    m_fix = link(QStringLiteral("Исправить"));
    m_fix->setToolTip(QStringLiteral("Сделать цвета этих надписей светлее или темнее — насколько нужно"));
    auto *close = new QToolButton(this);
    close->setAutoRaise(true);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(QStringLiteral("Закрыть"));
    row->addWidget(close);
    connect(m_show, &QToolButton::clicked, this, &LegibilityBanner::showRequested);
    connect(m_fix, &QToolButton::clicked, this, &LegibilityBanner::fixRequested);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void LegibilityBanner::showMessage(const QString &text)
{
    m_text->setText(text);
    show();
    raise();
}

QString LegibilityBanner::message() const
{
    return m_text->text();
}

} // namespace zelkor
