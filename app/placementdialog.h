#pragma once
// The placement step of "Загрузить": a picture whose size differs from its
// place in the sheet is shown with the crop rectangle (drag to move it, the
// wheel or the slider to zoom; it keeps the place's proportions), the four fit
// modes, a scrim under the texts over the picture (made again after every
// re-framing; it starts as strong as keeps the skin as legible as it was), the count of texts below the legibility threshold, and the
// result live on the main window's phone preview as a trial of the document. Nothing is written here: after "Ok" the caller writes
// result() back as one undo step; "Отмена" leaves everything as it was. The
// mode chosen is remembered for the next time.

#include "imaging/placement.h"
#include "preview/screenimage.h"
#include "project/project.h"

#include <QDialog>
#include <QImage>

#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace zelkor {

class CropView;
class RadioGroup;
class SkinDocument;

class PlacementDialog : public QDialog {
    Q_OBJECT
public:
    // `under`: what shows through where the picture leaves its place
    // uncovered; null: the document's picture.
    PlacementDialog(SkinDocument &document, int picture, const QImage &loaded, QWidget *parent = nullptr,
                    const QImage &under = {});
    ~PlacementDialog() override;

    // The mode offered first: the one last confirmed, "Заполнить" at first.
    static FitMode rememberedMode();
    static void rememberMode(FitMode mode);

    Placement placement() const;
    // The placed picture at full quality, of the place's size.
    QImage result() const;
    FitMode mode() const { return m_mode; }
    QRect crop() const;

    void setMode(FitMode mode);
    void setZoom(double zoom);                // 1 .. kMaxZoom
    void moveCrop(const QPointF &delta);      // in the loaded picture's pixels
    void setMargin(QRgb colour);
    void setScrim(double strength);           // 0 .. 1
    // "Лучший кадр": the focus and zoom (cover only) where the texts over the
    // picture fall on its calmest parts and the fewest read below the threshold.
    void bestFrame();
    double scrim() const { return m_scrim; }
    // Texts of the skin below the threshold with the picture as now placed.
    int failingTexts() const { return m_failing; }

    static constexpr double kMaxZoom = 8;

    RadioGroup *modes = nullptr;
    CropView *view = nullptr;
    QSlider *zoom = nullptr;  // per cent
    QPushButton *marginButton = nullptr;
    QLabel *sizes = nullptr;
    QLabel *shownResult = nullptr;
    QSlider *scrimSlider = nullptr;  // per cent
    QLabel *failingLabel = nullptr;  // "Текстов ниже 4,5 : 1: 3"
    QPushButton *bestFrameButton = nullptr;

    // How the picture is framed, relative to it, as a project keeps it; and
    // the step set to a framing kept before.
    SourcePlacement framing() const;
    void setFraming(const SourcePlacement &framing);

    // While a project is open: the choice "только для этого размера"
    // (ticked where the size has its picture of its own already), and
    // "Вернуть общий", which ends the step with kSharedResult.
    void offerSizes(int profile, bool overridden);
    static constexpr int kSharedResult = 2;
    QCheckBox *thisSizeOnly = nullptr;
    QPushButton *sharedButton = nullptr;

    void done(int result) override;

private:
    void refresh();
    // `placed` as it goes into the sheet: with the scrim under the texts over it.
    QImage withScrim(const QImage &placed, QImage *sheet = nullptr) const;
    // Texts of the skin below the threshold with `placed` and a scrim of `strength`.
    int failingWith(const QImage &placed, double strength) const;
    // The scrim the step starts with: the least (in hundredths) with which the
    // picture as first framed leaves no more texts below the threshold than
    // the sheet had, so re-framing a softened background keeps it legible;
    // 0 where none is needed or none is enough.
    double scrimKeepingLegibility() const;
    // The screen that shows the picture, drawn from `sheet` with every text
    // below the threshold outlined.
    QImage heatMap(const QImage &sheet, const std::vector<QRect> &failing) const;

    SkinDocument &m_doc;
    int m_picture;
    QImage m_loaded;
    PlacementSource m_source;
    QImage m_under;  // the place's pixels before
    FitMode m_mode;
    QPointF m_focus;
    double m_zoom = 1;
    std::optional<QRgb> m_margin;
    double m_scrim = 0;
    IconSheets m_icons;  // empty where the data folder lacks them: the screens then draw no icons
    int m_failing = 0;
};

} // namespace zelkor
