#pragma once
// "Экспорт скинов…": which sizes of the project are written as skin files,
// at which colour depth (smoothed or not), into which folder. It starts from
// the project's export settings, and what it is left at becomes them.

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zelkor {

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportDialog(QWidget *parent = nullptr);

    std::array<QCheckBox *, 6> sizes{};  // item i: profile i + 1
    QComboBox *depth = nullptr;          // kColourDepths order
    QCheckBox *smooth = nullptr;         // "Сглаживать картинки": only where the depth allows it
    QLineEdit *folder = nullptr;
    QPushButton *browse = nullptr;       // "Обзор…"
    QPushButton *exportButton = nullptr;

    void setProfiles(const std::vector<int> &profiles);
    std::vector<int> profiles() const;
    // The converter's option ("/c16"); one none of the depths falls back to 24 bpp.
    void setDepthOption(const QString &option);
    QString depthOption() const;

private:
    void updateButton();
};

} // namespace zelkor
