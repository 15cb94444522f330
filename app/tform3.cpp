#include "tform3.h"

#include "imaging/picturefile.h"
#include "cropview.h"
#include "logo.h"
#include "radiogroup.h"
#include "seams.h"
#include "desktop/preferences.h"
#include "editing/picturefiles.h"
#include "editing/workingfilewatcher.h"
#include "project/project.h"
#include "skin/filewrite.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "skin/skindocument.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace zelkor {

namespace {
QFont sansSerif(int pixelSize)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(pixelSize);
    return f;
}
} // namespace

TForm3::TForm3(SkinDocument &document, WorkingFileWatcher &watcher, QWidget *parent)
    : QDialog(parent), m_doc(document), m_watcher(watcher)
{
    setWindowTitle(QStringLiteral("Редактирование скина"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(sansSerif(11));
    setFixedSize(802, 540);
    move(254, 219);

    QStringList captions;
    for (int i = 0; i < kPictureCount; ++i)
        captions << QString::fromUtf8(pictureInfo(i).caption);
    RadioGroup1 = new RadioGroup(QStringLiteral("Картинка для редактирования"), captions, this);
    RadioGroup1->setGeometry(8, 8, 241, 257);
    RadioGroup1->setItemIndex(Contacts);
    connect(RadioGroup1, &RadioGroup::clicked, this, [this] { RadioGroup1Click(); });

    ttt = new QLabel(this);
    ttt->move(256, 48);
    setPicture(zelkorLogo());

    Label1 = new QLabel(this);
    Label1->move(8, 272);
    Label1->setFont(sansSerif(19));

    BitBtn1 = new QPushButton(QStringLiteral("Открыть в редакторе"), this);
    BitBtn1->setGeometry(256, 16, 137, 25);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    BitBtn2 = new QPushButton(QStringLiteral("Загрузить"), this);
    BitBtn2->setGeometry(400, 16, 145, 25);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    CheckBox1 = new QCheckBox(QStringLiteral("Подхватывать изменения из редактора"), this);
    CheckBox1->setGeometry(552, 16, 242, 25);
    CheckBox1->setChecked(m_watcher.isEnabled());
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });

    Label2 = new QLabel(QStringLiteral("Редактор картинок:"), this);
    Label2->move(8, 478);
    Label2->adjustSize();

    const QString editor = prefs::imageEditor;
    Edit1 = new QLineEdit(editor.isEmpty() ? defaultEditorPath() : editor, this);
    Edit1->setGeometry(8, 496, 465, 21);
    Edit1->setAccessibleName(QStringLiteral("Путь к редактору картинок"));

    Button1 = new QPushButton(QStringLiteral("Выбрать…"), this);
    Button1->setGeometry(488, 496, 169, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    createPictureButtons();

    // A save taken from the editor shows here as a load would.
    connect(&m_watcher, &WorkingFileWatcher::pictureTaken, this, [this](int picture, const QImage &image) {
        if (picture == m_cutPicture)
            setPicture(image);
    });
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm3::FormShow()
{
    cutOut();
    showSources();
}

void TForm3::RadioGroup1Click()
{
    // Cutting the same picture out again would overwrite the working file
    // that an outside editor may have changed.
    if (RadioGroup1->itemIndex() != m_cutPicture)
        cutOut();
    showSources();
}

QString TForm3::workingFile() const
{
    return workingFilePath(m_doc.workFolder(), RadioGroup1->itemIndex());
}

void TForm3::setPicture(const QImage &image)
{
    m_picture = image;
    const QImage shown = CropView::fitted(image, viewArea());
    ttt->setPixmap(QPixmap::fromImage(shown));
    ttt->resize(shown.size());
}

void TForm3::cutOut()
{
    const int picture = RadioGroup1->itemIndex();
    const QImage cut = cutOutPicture(m_doc.sheet(), m_doc.profile(), picture);
    m_cutPicture = picture;
    if (!cut.isNull()) {
        // The dialog shows what the file holds, as an image editor would open
        // it. What the editor saved there and the sheet does not have yet is
        // never overwritten: the watcher takes it if it follows the file and
        // following is on, else it waits for "Загрузить".
        const QString path = workingFile();
        QString error;
        if (!m_watcher.hasUntakenChange(picture)) {
            if (!writeWorkingFile(cut, path, error)) {
                seams().critical(this, error, QString());
                return;
            }
            m_watcher.markInSheet(picture);
        } else if (!isPlainFile(path)) {
            seams().critical(this, notPlainWorkingFile(path), QString());
            return;
        }
        const QImage written = readImageFile(path, error);
        if (written.isNull()) {
            seams().critical(this, error, QString());
            return;
        }
        setPicture(written);
    }
    Label1->setText(QStringLiteral("%1 x %2").arg(m_picture.width()).arg(m_picture.height()));
    Label1->adjustSize();
}

void TForm3::BitBtn1Click()
{
    // Followed from before the start, so not even a quick first save is missed.
    if (m_doc.hasSkin())
        m_watcher.follow(RadioGroup1->itemIndex());
    // The path is one argument whatever it contains: no shell, no quoting.
    const QString program = Edit1->text();
    if (!seams().startDetached(program, {workingFile()})) {
        seams().critical(this, QStringLiteral("Не удаётся запустить редактор «%1»").arg(program), QString());
        return;
    }
    prefs::imageEditor.set(program);
}

void TForm3::CheckBox1Click()
{
    m_watcher.setEnabled(CheckBox1->isChecked());
    prefs::followEditor.set(CheckBox1->isChecked());
}

void TForm3::Button1Click()
{
    const QFileInfo current(Edit1->text());
    const QString dir = current.isAbsolute() ? current.absolutePath() : QString();
    const QString chosen = seams().openFile(this, QString(), dir, opendFilter());
    if (chosen.isEmpty())
        return;
    Edit1->setText(QDir::toNativeSeparators(chosen));
    prefs::imageEditor.set(Edit1->text());
}

void TForm3::BitBtn2Click()
{
    const QString chosen = seams().openFile(this, QString(), pictureFolderOrDefault(), openiFilter());
    if (chosen.isEmpty())
        return;
    prefs::pictureFolder.set(QFileInfo(chosen).absolutePath());
    // Decoded in memory: nothing is written beside the user's file.
    QString error;
    const QImage loaded = readImageFile(chosen, error);
    if (loaded.isNull()) {
        seams().critical(this, error, QString());
        return;
    }
    // Label1 keeps the size of the last cut-out. Without a skin the picture
    // is only shown.
    if (!m_doc.hasSkin()) {
        setPicture(loaded);
        return;
    }
    Status status;
    if (m_project) {
        // The file is kept byte for byte, so every size is placed from it.
        QFile file(chosen);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        status = bytes.isEmpty() ? Status::failure(QStringLiteral("Не удаётся прочитать файл «%1»: %2")
                                                       .arg(QDir::toNativeSeparators(chosen), file.errorString()))
                                 : placeSource(loaded, bytes, std::nullopt, chosen);
    } else {
        status = placeLoaded(loaded, chosen);
    }
    if (status) {
        // The working file itself, loaded by hand: the sheet has it now.
        if (QFileInfo(chosen) == QFileInfo(workingFile()))
            m_watcher.markInSheet(RadioGroup1->itemIndex());
    }
    report(this, status);
}

} // namespace zelkor
