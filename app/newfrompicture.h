#pragma once
// "Новый из картинки…": a whole skin made from one picture. The dialog asks
// for the picture, the screen size and the variant, and shows every screen of
// the skin they give (the overview) before anything is made the document;
// the overview follows each change of size or variant. The skin itself is
// made by the core (design/frompicture.h).

#include "design/frompicture.h"
#include "preview/screenimage.h"
#include "skin/programfiles.h"

#include <QDialog>
#include <QImage>

#include <map>
#include <optional>

class QComboBox;
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
    QLabel *overviewLabel = nullptr;
    QLabel *noteLabel = nullptr;           // the variant used and the veils
    QPushButton *createButton = nullptr;   // "Создать"

private:
    void chooseClick();
    void remake();
    const QImage *templateSheet(int profile);

    ProgramFiles m_files;
    QString m_workFolder;
    IconSheets m_icons;
    QString m_picturePath;
    QImage m_picture;
    std::map<int, QImage> m_templates;  // read once per profile
    std::optional<design::SkinFromPicture> m_result;
    QImage m_overview;
};

} // namespace zelkor
