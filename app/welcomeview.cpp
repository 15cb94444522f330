#include "welcomeview.h"

#include "desktop/thumbnailcache.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zelkor {

namespace {

// A skin without a picture yet: the file icon in the thumbnail's square.
QIcon placeholder(const QStyle *style)
{
    QPixmap square(kThumbnailSize, kThumbnailSize);
    square.fill(Qt::transparent);
    QPainter p(&square);
    const QPixmap file = style->standardIcon(QStyle::SP_FileIcon).pixmap(48, 48);
    p.drawPixmap((kThumbnailSize - file.width()) / 2, (kThumbnailSize - file.height()) / 2, file);
    return QIcon(square);
}

} // namespace

WelcomeView::WelcomeView(QWidget *host) : QFrame(host)
{
    setObjectName(QStringLiteral("welcomeView"));
    setAutoFillBackground(true);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 20, 24, 20);
    column->setSpacing(12);

    auto *title = new QLabel(QStringLiteral("Нет скина. Начните с одного из трёх:"), this);
    QFont big = title->font();
    // The window's font may be sized in pixels or in points.
    if (big.pixelSize() > 0)
        big.setPixelSize(big.pixelSize() * 7 / 5);
    else
        big.setPointSizeF(big.pointSizeF() * 1.4);
    title->setFont(big);
    column->addWidget(title);

    auto *buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString &text, const QString &tip, QStyle::StandardPixmap icon) {
        auto *b = new QPushButton(style()->standardIcon(icon), text, this);
        b->setToolTip(tip);
        b->setMinimumHeight(40);
        buttons->addWidget(b);
        return b;
    };
    m_new = button(QStringLiteral("Новый"), QStringLiteral("Скин из шаблона для выбранного разрешения экрана."),
                   QStyle::SP_FileIcon);
    m_fromPicture = button(QStringLiteral("Новый из картинки…"),
                           QStringLiteral("Скин из одной картинки: фон, цвета и надписи подбираются по ней."),
                           QStyle::SP_DirHomeIcon);
    m_load = button(QStringLiteral("Загрузить"), QStringLiteral("Открыть файл скина (.mbm)."), QStyle::SP_DialogOpenButton);
    buttons->addStretch(1);
    column->addLayout(buttons);

    auto *recentTitle = new QLabel(QStringLiteral("Недавние файлы"), this);
    m_recentTitle = recentTitle;
    column->addWidget(recentTitle);
    m_recent = new QListWidget(this);
    m_recent->setViewMode(QListView::IconMode);
    m_recent->setIconSize(QSize(kThumbnailSize, kThumbnailSize));
    m_recent->setGridSize(QSize(kThumbnailSize + 40, kThumbnailSize + 44));
    m_recent->setResizeMode(QListView::Adjust);
    m_recent->setMovement(QListView::Static);
    m_recent->setWordWrap(true);
    m_recent->setAccessibleName(QStringLiteral("Недавние файлы"));
    column->addWidget(m_recent, 4);

    auto *drop = new QLabel(QStringLiteral("…или перетащите файл скина (.mbm) или проекта (.zskin) в это окно"), this);
    drop->setObjectName(QStringLiteral("dropTarget"));
    drop->setAlignment(Qt::AlignCenter);
    drop->setMinimumHeight(56);
    drop->setStyleSheet(QStringLiteral("#dropTarget { border: 2px dashed palette(mid); border-radius: 6px; }"));
    column->addWidget(drop);
    column->addStretch(1);

    connect(m_new, &QPushButton::clicked, this, &WelcomeView::newRequested);
    connect(m_fromPicture, &QPushButton::clicked, this, &WelcomeView::fromPictureRequested);
    connect(m_load, &QPushButton::clicked, this, &WelcomeView::loadRequested);
    connect(m_recent, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { emit recentChosen(item->data(Qt::UserRole).toString()); });
    host->installEventFilter(this);
    setGeometry(host->rect());
}

void WelcomeView::setRecentFiles(const QStringList &files)
{
    m_recent->clear();
    const QIcon none = placeholder(style());
    for (const QString &path : files) {
        const QImage thumbnail = cachedThumbnail(path);
        auto *item = new QListWidgetItem(thumbnail.isNull() ? none : QIcon(QPixmap::fromImage(thumbnail)),
                                         QFileInfo(path).fileName(), m_recent);
        item->setData(Qt::UserRole, path);
        item->setToolTip(QDir::toNativeSeparators(path));
    }
    m_recentTitle->setVisible(!files.isEmpty());
    m_recent->setVisible(!files.isEmpty());
}

bool WelcomeView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        setGeometry(static_cast<QWidget *>(watched)->rect());
    return QFrame::eventFilter(watched, event);
}

} // namespace zelkor
