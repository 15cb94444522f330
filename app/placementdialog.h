#pragma once
// The placement step of "Загрузить": a picture whose size differs from its
// place in the sheet is shown with the crop rectangle (drag to move it, the
// wheel or the slider to zoom; it keeps the place's proportions), the four fit
// modes, and the result live on the main window's phone preview as a trial
// of the document. Nothing is written here: after "Ok" the caller writes
// result() back as one undo step; "Отмена" leaves everything as it was. The
// mode chosen is remembered for the next time.

#include "imaging/placement.h"

#include <QDialog>
#include <QImage>

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
    PlacementDialog(SkinDocument &document, int picture, const QImage &loaded, QWidget *parent = nullptr);
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

    static constexpr double kMaxZoom = 8;

    RadioGroup *modes = nullptr;
    CropView *view = nullptr;
    QSlider *zoom = nullptr;  // per cent
    QPushButton *marginButton = nullptr;
    QLabel *sizes = nullptr;
    QLabel *shownResult = nullptr;

    void done(int result) override;

private:
    void refresh();

    SkinDocument &m_doc;
    int m_picture;
    QImage m_loaded;
    PlacementSource m_source;
    QImage m_under;  // the place's pixels before
    FitMode m_mode;
    QPointF m_focus;
    double m_zoom = 1;
    std::optional<QRgb> m_margin;
};

} // namespace zelkor
