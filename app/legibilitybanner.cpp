#include "legibilitybanner.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace zelkor {

LegibilityBanner::LegibilityBanner(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("legibilityBanner"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    // A warning's yellow whatever the style: the preview under it is white.
    setStyleSheet(QStringLiteral("#legibilityBanner { background: #fff4c2; color: black; border: 1px solid #c9a227; }"
                                 "QToolButton { color: #0b4fa8; text-decoration: underline; border: none; }"));
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(6, 3, 3, 3);
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    m_grid->addWidget(icon, 0, 0, Qt::AlignVCenter);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("message"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_grid->addWidget(m_text, 0, 1);
    m_grid->setColumnStretch(1, 1);
    m_links = new QWidget(this);
    auto *row = new QHBoxLayout(m_links);
    row->setContentsMargins(0, 0, 0, 0);
    const auto link = [this, row](const QString &text) {
        auto *b = new QToolButton(m_links);
        b->setText(text);
        b->setCursor(Qt::PointingHandCursor);
        row->addWidget(b);
        return b;
    };
    m_show = link(QStringLiteral("Показать"));
    row->addWidget(new QLabel(QStringLiteral("·"), m_links));
    m_fix = link(QStringLiteral("Исправить"));
    m_fix->setToolTip(QStringLiteral("Сделать цвета этих надписей светлее или темнее — насколько нужно"));
    m_close = new QToolButton(this);
    m_close->setAutoRaise(true);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setToolTip(QStringLiteral("Закрыть"));
    arrange(true);
    connect(m_show, &QToolButton::clicked, this, &LegibilityBanner::showRequested);
    connect(m_fix, &QToolButton::clicked, this, &LegibilityBanner::fixRequested);
    connect(m_close, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void LegibilityBanner::showMessage(const QString &text)
{
    m_text->setText(text);
    arrange(fitsOneRow(width()));
    show();
    raise();
}

QString LegibilityBanner::message() const
{
    return m_text->text();
}

bool LegibilityBanner::fitsOneRow(int width) const
{
    // The message must keep room for its longest word, or it is cut.
    int word = 0;
    for (const QString &w : m_text->text().split(u' '))
        word = std::max(word, m_text->fontMetrics().horizontalAdvance(w));
    const QMargins margins = m_grid->contentsMargins();
    const int spacing = std::max(0, m_grid->horizontalSpacing());
    const int others = m_grid->itemAtPosition(0, 0)->sizeHint().width() + m_links->sizeHint().width()
                       + m_close->sizeHint().width() + 3 * spacing;
    return width >= margins.left() + margins.right() + others + word + 2 * frameWidth();
}

void LegibilityBanner::arrange(bool oneRow)
{
    // One row when it is wide enough; else the links go under the message.
    if (m_oneRow == oneRow && m_grid->indexOf(m_links) >= 0)
        return;
    m_oneRow = oneRow;
    m_grid->removeWidget(m_links);
    m_grid->removeWidget(m_close);
    if (oneRow) {
        m_grid->addWidget(m_links, 0, 2, Qt::AlignVCenter);
        m_grid->addWidget(m_close, 0, 3, Qt::AlignVCenter);
    } else {
        m_grid->addWidget(m_links, 1, 1, Qt::AlignLeft);
        m_grid->addWidget(m_close, 0, 3, Qt::AlignTop);
    }
}

void LegibilityBanner::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    arrange(fitsOneRow(event->size().width()));
}

} // namespace zelkor
