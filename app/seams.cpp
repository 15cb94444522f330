#include "seams.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace zelkor {

static UiSeams realSeams()
{
    UiSeams s;
    s.execDialog = [](QDialog *d) { return d->exec(); };
    s.openFile = [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };
    s.saveFile = [](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        // No overwrite prompt here: saving never replaces an existing file anyway.
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    s.pickColour = [](QWidget *parent, const QColor &initial) {
        return QColorDialog::getColor(initial, parent);
    };
    s.critical = [](QWidget *parent, const QString &text) {
        // The caption speaks the interface's Russian, like the text.
        QMessageBox::critical(parent, QStringLiteral("Ошибка"), text);
    };
    s.startDetached = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
    return s;
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
