// The window between runs: its place and size on which screen, maximised or
// not, its docks, and the preview's selectors.
#include "tform1.h"
#include "tform1private.h"

#include "desktop/preferences.h"
#include "skin/profiles.h"

#include <QGuiApplication>
#include <QScreen>

namespace zelkor {

namespace {

void restoreChoice(RadioGroup *group, const Preference<int> &choice)
{
    if (const int index = choice.get(); choice.isSet() && index < group->count())
        group->setItemIndex(index);
}

} // namespace

void TForm1::restoreWindowState()
{
    d->remembersState = true;
    const QString screenName = prefs::windowScreen;
    for (QScreen *s : QGuiApplication::screens())
        if (s->name() == screenName)
            setScreen(s);
    if (prefs::windowGeometry.isSet())
        d->keptGeometry = prefs::windowGeometry.get();
    restoreChoice(d->RadioGroup1, prefs::screenChoice);
    restoreChoice(d->RadioGroup2, prefs::columnsChoice);
    restoreChoice(d->RadioGroup3, prefs::previewDepthChoice);
    d->RadioGroup2->setVisible(d->RadioGroup1->isVisibleTo(this) && d->RadioGroup1->itemIndex() == ContactListScreen);
    d->docksRestored = restoreState(prefs::windowDocks);
    fitToScreen();
    if (prefs::windowMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::saveWindowState() const
{
    // The frame's corner and the size inside it, as they were before maximising.
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    prefs::windowGeometry.set(QRect(normal.topLeft() - (geometry().topLeft() - frameGeometry().topLeft()), normal.size()));
    prefs::windowMaximized.set(isMaximized());
    if (screen())
        prefs::windowScreen.set(screen()->name());
    prefs::screenChoice.set(d->RadioGroup1->itemIndex());
    prefs::columnsChoice.set(d->RadioGroup2->itemIndex());
    prefs::previewDepthChoice.set(d->RadioGroup3->itemIndex());
    prefs::windowDocks.set(saveState());
}

} // namespace zelkor
