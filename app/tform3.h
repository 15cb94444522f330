#pragma once
// The picture editing dialog: cuts one of the nine sheet pictures out into its
// working file, starts an image editor on it, and writes a replacement picture
// back into the skin document's sheet, one undo step per write-back. Once the
// editor was started on a working file, the watcher takes each of its saves
// into the sheet. The dialog is a view of the document and knows nothing of
// the main window.

#include <QDialog>
#include <QImage>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zelkor {

class ProjectSession;
class RadioGroup;
class SkinDocument;
struct SourcePlacement;
class WorkingFileWatcher;
struct Status;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(SkinDocument &document, WorkingFileWatcher &watcher, QWidget *parent = nullptr);

    // File dialog filters: the editor to run, and a replacement picture.
    // The picture's format is decided by its content, so every format Qt
    // reads here is offered, in both cases of its suffixes.
    static QString opendFilter() { return QStringLiteral("Executable files (*)"); }
    static QString openiFilter();
    // Where "Сохранить картинку…" writes: PNG, BMP or JPEG by the suffix.
    static QString savePictureFilter();
    // The area ttt may fill; larger pictures are shown reduced, smaller ones
    // enlarged by whole pixels.
    static QSize viewArea() { return {538, 420}; }

    // While a project is open: a picture loaded becomes its source for every
    // size (or the shown one only), kept with its framing; "Разместить…"
    // frames it again from that source; overridden pictures are marked.
    void setProject(ProjectSession *project);

    // The picture that ttt shows: the placeholder, the last cut-out or the last load.
    QImage picture() const { return m_picture; }

    // --- controls ---
    RadioGroup *RadioGroup1 = nullptr;  // which picture; its item index is the picture index
    QLabel *ttt = nullptr;              // the dialog's picture, sized to it
    QLabel *Label1 = nullptr;           // "W x H" of the last cut-out
    QPushButton *BitBtn1 = nullptr;     // "Открыть в редакторе"
    QPushButton *BitBtn2 = nullptr;     // "Загрузить"
    QCheckBox *CheckBox1 = nullptr;     // "Подхватывать изменения из редактора"
    QLabel *Label2 = nullptr;           // names Edit1
    QLineEdit *Edit1 = nullptr;         // the editor path, the one last used
    QPushButton *Button1 = nullptr;     // "Выбрать…": chooses the editor
    QLabel *Label3 = nullptr;           // the size of the picture last loaded
    QPushButton *BitBtn3 = nullptr;     // "Сохранить картинку…"
    QPushButton *BitBtn4 = nullptr;     // "Вернуть из шаблона"
    QPushButton *BitBtn5 = nullptr;     // "Разместить…": the project's source framed again
    QPushButton *BitBtn6 = nullptr;     // "Вернуть общий": the picture all sizes share

    // --- handlers ---
    void FormShow();          // cut out the selected picture
    void RadioGroup1Click();  // cut out the newly selected picture; a click on the selected one does nothing
    void BitBtn1Click();      // open the working file in the editor
    void BitBtn2Click();      // load a replacement picture and write it back
    void Button1Click();      // choose the editor
    void CheckBox1Click();    // follow the editor's saves, or not
    void BitBtn3Click();      // save the selected picture to a file of the user's
    void BitBtn4Click();      // put the profile's template picture back, one undo step
    void BitBtn5Click();      // frame the picture's source again
    void BitBtn6Click();      // the shown size takes the shared picture again, one undo step

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cutOut();
    void setPicture(const QImage &image);
    QString workingFile() const;
    void createPictureButtons();
    // Writes a loaded picture into the selected one: at once when its size is
    // the place's, else after the placement step (cancelled when it is).
    Status placeLoaded(const QImage &loaded, const QString &source);
    // The placement step for a project's source `bytes` (decoded: `image`),
    // starting from `framing` when it was placed before.
    Status placeSource(const QImage &image, const QByteArray &bytes, const std::optional<SourcePlacement> &framing,
                       const QString &source);
    // The pictures' marks and the project's buttons, for the shown size.
    void showSources();

    SkinDocument &m_doc;
    WorkingFileWatcher &m_watcher;
    ProjectSession *m_project = nullptr;
    QImage m_picture;
    int m_cutPicture = -1;  // the picture whose working file was written last
};

} // namespace zelkor
