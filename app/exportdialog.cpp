#include "exportdialog.h"

#include "seams.h"

#include "skin/profiles.h"
#include "skin/savedepth.h"
#include "skin/savename.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelkor {

ExportDialog::ExportDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Экспорт скинов"));
    auto *column = new QVBoxLayout(this);
    auto *box = new QGroupBox(QStringLiteral("Размеры"), this);
    auto *grid = new QGridLayout(box);
    for (const Profile &p : allProfiles()) {
        const int i = p.index - 1;
        sizes[size_t(i)] = new QCheckBox(p.labelText(), box);
        sizes[size_t(i)]->setChecked(true);
        grid->addWidget(sizes[size_t(i)], i / 2, i % 2);
        connect(sizes[size_t(i)], &QCheckBox::toggled, this, [this] { updateButton(); });
    }
    column->addWidget(box);

    auto *form = new QFormLayout;
    depth = new QComboBox(this);
    for (const ColourDepth &d : kColourDepths)
        depth->addItem(QString::fromLatin1(d.option + 2) + QStringLiteral(" bpp"));
    form->addRow(QStringLiteral("Глубина цвета:"), depth);
    smooth = new QCheckBox(QStringLiteral("Сглаживать картинки"), this);
    smooth->setToolTip(QStringLiteral("При 4 и 8 bpp картинки переводятся в палитру с рассеиванием ошибки, "
                                      "чтобы плавные переходы не распадались на полосы. Цвета скина не меняются."));
    form->addRow(QString(), smooth);
    connect(depth, &QComboBox::currentIndexChanged, this, [this] { smooth->setEnabled(canSmooth(depthOption())); });
    auto *folderRow = new QHBoxLayout;
    folder = new QLineEdit(this);
    browse = new QPushButton(QStringLiteral("Обзор…"), this);
    folderRow->addWidget(folder, 1);
    folderRow->addWidget(browse);
    form->addRow(QStringLiteral("Папка:"), folderRow);
    column->addLayout(form);
    connect(folder, &QLineEdit::textChanged, this, [this] { updateButton(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = seams().chooseFolder(this, QStringLiteral("Папка для скинов"), folder->text());
        if (!chosen.isEmpty())
            folder->setText(chosen);
    });

    auto *buttons = new QDialogButtonBox(this);
    exportButton = buttons->addButton(QStringLiteral("Экспорт"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    setDepthOption(QStringLiteral("/c24"));
    updateButton();
}

void ExportDialog::setProfiles(const std::vector<int> &profiles)
{
    for (size_t i = 0; i < sizes.size(); ++i)
        sizes[i]->setChecked(std::find(profiles.begin(), profiles.end(), int(i) + 1) != profiles.end());
}

std::vector<int> ExportDialog::profiles() const
{
    std::vector<int> out;
    for (size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i]->isChecked())
            out.push_back(int(i) + 1);
    return out;
}

void ExportDialog::setDepthOption(const QString &option)
{
    int index = int(kColourDepths.size()) - 1;
    for (size_t i = 0; i < kColourDepths.size(); ++i)
        if (option == QLatin1String(kColourDepths[i].option))
            index = int(i);
    depth->setCurrentIndex(index);
    smooth->setEnabled(canSmooth(depthOption()));
}

QString ExportDialog::depthOption() const
{
    return QString::fromLatin1(kColourDepths[size_t(depth->currentIndex())].option);
}

void ExportDialog::updateButton()
{
    exportButton->setEnabled(!profiles().empty() && !folder->text().trimmed().isEmpty());
}

} // namespace zelkor
