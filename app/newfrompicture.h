#pragma once
// "Новый из картинки…": a whole skin made from one picture. The dialog asks
// for the picture, the screen size, the variant and the scheme; shows the
// photograph with the part the contact list shows, and the colours taken from
// it as chips, from which (or from the photograph itself) the key colour and
// the accent are chosen; and shows every screen of the skin they give (the
// overview, at x1, scrolled where the window is narrower) before anything is
// made the document. The skin itself is made by the core (design/frompicture.h).

#include "design/frompicture.h"
#include "preview/screenimage.h"
#include "skin/programfiles.h"

#include <QDialog>
#include <QImage>

#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QScrollArea;
class QToolButton;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zelkor {

class RadioGroup;

class NewFromPictureDialog : public QDialog {
    Q_OBJECT
public:
    NewFromPictureDialog(const ProgramFiles &files, const QString &workFolder, const IconSheets &icons,
                         QWidget *parent = nullptr);

    // Reads the picture and remakes the skin; an unreadable or truncated file
    // is refused with one message and the dialog keeps what it had.
    bool setPicture(const QString &path);
    // Profile 1..6 and the variant, as the controls would set them.
    void setProfile(int profile);
    void setVariant(design::Variant variant);
    void setScheme(design::ColourScheme scheme);
    // The author's key colour or accent; unset: the palette's.
    void setKey(std::optional<QRgb> colour);
    void setAccent(std::optional<QRgb> colour);
    // The colour of the photograph at `at` (its pixels) as the key or the accent.
    void pickFromPicture(const QPoint &at, bool accent);
    design::ColourScheme scheme() const;
    const design::FromPictureSettings &settings() const { return m_settings; }

    const QString &pictureFile() const { return m_picturePath; }
    int profile() const;
    design::Variant variant() const;
    // The skin the overview shows; null until a picture gave one.
    const design::SkinFromPicture *result() const { return m_result ? &*m_result : nullptr; }
    // The overview as shown, before it is scaled to the dialog.
    const QImage &overview() const { return m_overview; }

    // The filter of the picture's file dialog: every format Qt reads here.
    static QString pictureFilter();

    QLineEdit *pictureEdit = nullptr;
    QPushButton *chooseButton = nullptr;   // "Выбрать…"
    QComboBox *sizeBox = nullptr;          // the six screen sizes
    RadioGroup *variantGroup = nullptr;    // "светлая", "тёмная", "авто"
    QComboBox *schemeBox = nullptr;        // "тональная", "яркая", "как на фото", "монохромная"
    QLabel *photoLabel = nullptr;          // the photograph, the contact list's part framed; a click picks
    std::vector<QToolButton *> keyChips;   // the palette's colours, most used first
    std::vector<QToolButton *> accentChips;
    QLabel *overviewLabel = nullptr;
    QScrollArea *overviewArea = nullptr;
    QLabel *noteLabel = nullptr;           // the variant used and the veils
    QPushButton *createButton = nullptr;   // "Создать"

    bool eventFilter(QObject *watched, QEvent *event) override;

    // Sizes the dialog to show the overview whole where `available` (a
    // screen's available area, the window manager's `frame` around the
    // dialog) allows, the rest scrolling, and centres it on its parent.
    void fitToArea(const QRect &available, const QMargins &frame);

private:
    void chooseClick();
    void remake();
    void showPhoto();
    void showChips();
    const QImage *templateSheet(int profile);
    void fitToScreen();

    ProgramFiles m_files;
    QString m_workFolder;
    IconSheets m_icons;
    QString m_picturePath;
    QImage m_picture;
    design::Palette m_palette;  // of m_picture
    design::FromPictureSettings m_settings;
    QLayout *m_keyRow = nullptr;
    QLayout *m_accentRow = nullptr;
    double m_photoScale = 1;  // photoLabel's pixels per picture pixel
    std::map<int, QImage> m_templates;  // read once per profile
    std::optional<design::SkinFromPicture> m_result;
    QImage m_overview;
    QSize m_fittedOverview;  // the overview's size the dialog was last fitted to
};

} // namespace zelkor
