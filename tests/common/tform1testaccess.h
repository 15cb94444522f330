#pragma once
// The tests' one way into the main window: its controls and state
// (TForm1Private, through ->) and the handlers, run as the menu, the timer
// and the controls run them.

#include "app/mainwindow/tform1.h"
#include "app/mainwindow/tform1private.h"
#include "preview/preview.h"

namespace zelkor {

struct TForm1TestAccess {
    TForm1 &form;

    TForm1Private *operator->() const { return form.d.get(); }

    void FormShow() const { form.FormShow(); }
    void FormPaint() const { form.FormPaint(); }
    void Timer1Timer() const { form.Timer1Timer(); }
    void N2Click() const { form.N2Click(); }
    void N3Click() const { form.N3Click(); }
    bool N6Click() const { return form.N6Click(); }
    bool N10Click() const { return form.N10Click(); }
    void N7Click() const { form.N7Click(); }
    void N8Click() const { form.N8Click(); }
    void N4Click() const { form.N4Click(); }
    void N5Click() const { form.N5Click(); }
    void newProjectClick() const { form.newProjectClick(); }
    bool saveAsProjectClick() const { return form.saveAsProjectClick(); }
    void exportSkinsClick() const { form.exportSkinsClick(); }
    void sizeChoiceClick(int profile) const { form.sizeChoiceClick(profile); }
    void quitWithoutAsking() const { form.quitWithoutAsking(); }
    void openRecentFile(const QString &path) const { form.openRecentFile(path); }
    void Button1Click() const { form.Button1Click(); }
    void RadioGroup1Click() const { form.RadioGroup1Click(); }
    void RadioGroup3Click() const { form.RadioGroup3Click(); }

    void renderPreview() const { form.renderPreview(); }
    void fitToArea(const QRect &available, const QMargins &frame) const { form.fitToArea(available, frame); }
    void showSkinControls() const { form.showSkinControls(); }
    void setZoomMode(int mode) const { form.setZoomMode(mode); }
    void selectSlot(int slot) const { form.selectSlot(slot); }
    PreviewInput previewInput() const { return form.previewInput(); }
    ColourSlots swatchColours() const { return form.swatchColours(); }
    QString previewDepth() const { return form.previewDepth(); }
    QRect legibilityOutline() const { return form.legibilityOutline(); }
    void fixLegibility(const std::vector<int> &which) const { form.fixLegibility(which); }
    static QString droppedSkinFile(const QMimeData *data) { return TForm1::droppedSkinFile(data); }
};

inline TForm1TestAccess ui(TForm1 &form)
{
    return {form};
}

} // namespace zelkor
