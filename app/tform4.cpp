#include "tform4.h"

#include "logo.h"
#include "windowfont.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace zelkor {

namespace {
QFont fontPx(const char *family, int px, bool bold)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}
} // namespace

TForm4::TForm4(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Редактор сконов для Zelkor "));
    setFont(windowFont());
    setFixedSize(648, 279);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *panel = new QFrame(this);
    panel->setGeometry(0, 0, 648, 279);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);

    auto *bevel = new QFrame(panel);
    bevel->setGeometry(8, 8, 633, 265);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);

    auto *logo = new QLabel(panel);
    logo->setPixmap(QPixmap::fromImage(zelkorLogo()));
    logo->setGeometry(11, 11, 610, 111);

    auto *rule = new QFrame(panel);
    rule->setGeometry(16, 120, 617, 9);
    rule->setFrameStyle(QFrame::Box | QFrame::Sunken);

    auto *about = new QLabel(QStringLiteral("Редактор скинов для ICQ-клиента Zelkor для смартфонов подуправлением Symbian OS."), panel);
    about->setGeometry(16, 144, 516, 38);
    about->setWordWrap(true);
    about->setFont(fontPx("Tahoma", 16, true));

    // The addresses open in the browser, by mouse or by Tab and Enter.
    const char *const links[][2] = {{"Сайт проекта: ", "zelkor-skins.example.org"},
                                    {"Сайт клиента: ", "zelkor-im.example.org"}};
    for (int i = 0; i < 2; ++i) {
        const QString host = QString::fromUtf8(links[i][1]);
        auto *l = new QLabel(QStringLiteral("%1<a href=\"https://%2\" style=\"color: blue\">%2</a>")
                                 .arg(QString::fromUtf8(links[i][0]), host),
                             panel);
        l->setTextFormat(Qt::RichText);
        l->setOpenExternalLinks(true);
        l->setTextInteractionFlags(Qt::TextBrowserInteraction);
        l->move(16, 192 + 16 * i);
        l->setFont(fontPx("MS Sans Serif", 13, true));
        l->setStyleSheet(QStringLiteral("color: blue"));
        l->adjustSize();
    }

    // Its place is fixed, but it moves left rather than lose its end under the bevel.
    auto *version = new QLabel(QStringLiteral("Версия 0.0.1alpha"), panel);
    version->adjustSize();
    version->move(std::min(544, bevel->geometry().right() - 2 - version->width()), 104);

    m_close = new QPushButton(QStringLiteral("Закрыть"), panel);
    m_close->setGeometry(288, 240, 75, 25);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace zelkor
