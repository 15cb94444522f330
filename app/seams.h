#pragma once
// Every modal window and external program start of the editor goes through
// here, so that tests can answer dialogs and record messages instead of a
// person. The defaults are the real Qt dialogs.

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QUrl;
class QWidget;

namespace zelkor {

struct UiSeams {
    // Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
    std::function<int(QDialog *)> execDialog;
    // File dialogs: an empty result means cancelled.
    std::function<QString(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)> openFile;
    std::function<QString(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)> saveFile;
    // A folder to write into, starting at `dir`; empty means cancelled.
    std::function<QString(QWidget *parent, const QString &caption, const QString &dir)> chooseFolder;
    // The colour dialog, titled `title`, opening on `initial`, placed beside
    // `keepVisible` (global; empty: anywhere) when the screen has room, so
    // that the preview it changes stays in sight; `changed` is called with
    // every colour under choice while it is open. An invalid colour means
    // cancelled.
    std::function<QColor(QWidget *parent, const QColor &initial, const QString &title, const QRect &keepVisible,
                         const std::function<void(const QColor &)> &changed)>
        pickColour;
    // Opens a file or address in the desktop's viewer; false when none took it.
    std::function<bool(const QUrl &url)> openUrl;
    // One error message box; `details` (the original words of a program or
    // the system, often English) go into the box's details when not empty.
    std::function<void(QWidget *parent, const QString &text, const QString &details)> critical;
    // One warning: the command was done, but something in it is amiss.
    std::function<void(QWidget *parent, const QString &text)> warning;
    // A question with buttons; returns the index of the button chosen, or -1
    // when the box was closed without one (Esc, close box).
    std::function<int(QWidget *parent, const QString &text, const QStringList &buttons)> ask;
    // Starts a program detached; returns false when it could not be started.
    std::function<bool(const QString &program, const QStringList &arguments)> startDetached;
};

UiSeams &seams();
// Shows a failed status as one error box, a success with a message as one
// warning; plain success and cancellation show nothing.
struct Status;
void report(QWidget *parent, const Status &status);
// Puts back the real dialogs (tests call it between cases).
void resetSeams();

} // namespace zelkor
