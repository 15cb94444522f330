#include "seams.h"

#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

#include "skin/status.h"

namespace zelkor {

// Qt's own file dialog reads quotes in a typed name as a list of names
// ("it's \"q\"" becomes "q"); a name is a name, so take what was typed.
static QString typedSaveName(const QFileDialog &dialog)
{
    const auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (edit && edit->text().contains(u'"'))
        return QDir(dialog.directory()).filePath(edit->text());
    return dialog.selectedFiles().constFirst();
}

static UiSeams realSeams()
{
    UiSeams s;
    s.execDialog = [](QDialog *d) { return d->exec(); };
    s.openFile = [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };
    s.saveFile = [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        QFileDialog dialog(parent, caption, dir, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // No overwrite prompt here: saving never replaces an existing file anyway.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return typedSaveName(dialog);
    };
    s.pickColour = [](QWidget *parent, const QColor &initial) {
        return QColorDialog::getColor(initial, parent);
    };
    s.critical = [](QWidget *parent, const QString &text, const QString &details) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), text, QMessageBox::Ok, parent);
        if (!details.isEmpty())
            box.setDetailedText(details);
        box.exec();
    };
    s.ask = [](QWidget *parent, const QString &text, const QStringList &buttons) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Редактор скинов Zelkor"), text, QMessageBox::NoButton, parent);
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
