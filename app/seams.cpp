#include "seams.h"

#include "windowfit.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include "imaging/status.h"

namespace zelkor {

// Qt's own file dialog reads quotes in a typed name as a list of names
// ("it's \"q\"" becomes "q", which Open then reports as not found); a name
// is a name, so take what was typed.
class TypedNameDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    QString chosen() const { return m_typed.isEmpty() ? selectedFiles().value(0) : m_typed; }

    void accept() override
    {
        const auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (edit && edit->text().contains(u'"')) {
            const QString path = QDir(directory()).filePath(edit->text());
            if (fileMode() != QFileDialog::ExistingFile || QFileInfo(path).isFile()) {
                m_typed = path;
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    QString m_typed;
};

static QString runFileDialog(TypedNameDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.chosen();
}

static UiSeams realSeams()
{
    UiSeams s;
    s.execDialog = [](QDialog *d) { return d->exec(); };
    s.openFile = [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        TypedNameDialog dialog(parent, caption, dir, filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return runFileDialog(dialog);
    };
    s.saveFile = [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        TypedNameDialog dialog(parent, caption, dir, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // No overwrite prompt here: saving never replaces an existing file anyway.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return runFileDialog(dialog);
    };
    s.chooseFolder = [](QWidget *parent, const QString &caption, const QString &dir) {
        return QFileDialog::getExistingDirectory(parent, caption, dir);
    };
    s.pickColour = [](QWidget *parent, const QColor &initial, const QString &title, const QRect &keepVisible,
                      const std::function<void(const QColor &)> &changed) {
        // Qt's own dialog: it reports every colour under choice and has a
        // field for the hex value.
        QColorDialog dialog(initial, parent);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        dialog.setWindowTitle(title);
        dialog.adjustSize();
        const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        // The window manager's frame is not known before the dialog shows: allow for a usual one.
        const QSize framed = dialog.size() + QSize(8, 40);
        if (!keepVisible.isEmpty() && screen)
            if (const auto at = besideRect(screen->availableGeometry(), framed, keepVisible))
                dialog.move(*at);
        QObject::connect(&dialog, &QColorDialog::currentColorChanged, &dialog, [&](const QColor &c) { changed(c); });
        return dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
    };
    s.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    s.critical = [](QWidget *parent, const QString &text, const QString &details) {
        // Messages name files and skins: their names are shown as they are,
        // never read as markup.
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        if (!details.isEmpty())
            box.setDetailedText(details);
        box.exec();
    };
    s.warning = [](QWidget *parent, const QString &text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Редактор скинов Zelkor"), text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    };
    s.ask = [](QWidget *parent, const QString &text, const QStringList &buttons) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Редактор скинов Zelkor"), text, QMessageBox::NoButton, parent);
        box.setTextFormat(Qt::PlainText);
        QList<QAbstractButton *> made;
        for (int i = 0; i < buttons.size(); ++i) {
            // The last button is the one Esc means.
            const auto role = i == 0 ? QMessageBox::AcceptRole
                              : i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                        : QMessageBox::DestructiveRole;
            made << box.addButton(buttons[i], role);
        }
        if (!made.isEmpty()) {
            box.setDefaultButton(qobject_cast<QPushButton *>(made.first()));
            box.setEscapeButton(made.last());
        }
        box.exec();
        return int(made.indexOf(box.clickedButton()));
    };
    s.startDetached = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
    return s;
}

void report(QWidget *parent, const Status &status)
{
    if (status.code == Status::Failed)
        seams().critical(parent, status.message, status.details);
    else if (status.ok() && !status.message.isEmpty())
        seams().warning(parent, status.message);
}

UiSeams &seams()
{
    static UiSeams s = realSeams();
    return s;
}

void resetSeams()
{
    seams() = realSeams();
}

} // namespace zelkor
