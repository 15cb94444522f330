#pragma once
// The "Читаемость" dock: the texts of the skin below the contrast threshold,
// one row per colour slot (its swatch, label, worst ratio, where that is and
// how many texts), worst first and expandable to its texts, with the
// threshold itself (remembered between runs). Choosing a row asks the window
// to show that text (a slot's row: its worst); "Исправить" asks it to fix the
// row's colour slot. The dock only shows what the window measured.
//
// While a project is open it also offers "все размеры": the texts below the
// threshold at every size of the project, grouped under the size's label;
// choosing a row there asks the window to show that size.

#include "design/legibility.h"

#include <QDockWidget>

class QAction;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelkor {

// The measure of one size of a project.
struct SizeLegibility {
    int profile = 0;
    design::Legibility measure;
};

class LegibilityDock : public QDockWidget {
    Q_OBJECT
public:
    explicit LegibilityDock(QWidget *parent = nullptr);

    // The threshold the user chose last (4.5 until then).
    static double savedMinContrast();
    double minContrast() const;

    // Lists the texts of `measure` below minContrast(); `depthName` ("8 bpp",
    // empty for the sheet as it is) says what was measured.
    void showMeasure(const design::Legibility &measure, const QString &depthName);
    // Shows "все размеры" (a project is open) or hides it, leaving that view.
    void offerAllSizes(bool offered);
    // Whether the list shows every size rather than the measure of the one shown.
    bool allSizes() const;
    // Lists the texts of each size below minContrast() under the size's label;
    // kept until the next call, whichever view is shown.
    void showAllSizes(const std::vector<SizeLegibility> &sizes, const QString &depthName);
    // The measure of `profile` last given to showAllSizes, or null.
    const design::Legibility *sizeMeasure(int profile) const;
    // The text of the current row (an index into the measure of its size), -1 for none.
    int currentText() const;
    // Makes slot row `row` (0: the worst) current, as a click would.
    void chooseRow(int row);
    // The same for the row of colour slot `slot` (under every size: at the
    // size shown); false when it has none.
    bool chooseSlot(int slot);
    // Slot rows, and the texts below the threshold in all of them.
    int rowCount() const;
    int failingCount() const { return m_failing; }

    QTreeWidget *list() const { return m_list; }
    QPushButton *fixButton() const { return m_fix; }
    QDoubleSpinBox *thresholdBox() const { return m_threshold; }
    QCheckBox *allSizesBox() const { return m_allSizes; }

signals:
    void textChosen(int text);
    // A row of "все размеры": text `text` of the measure of `profile`.
    void sizeTextChosen(int profile, int text);
    void allSizesToggled(bool on);
    void fixRequested(int slot);
    void minContrastChanged(double minContrast);

private:
    void updateFixButton();
    void fillList();
    void fillSlotRows(QTreeWidgetItem *parent, const design::Legibility &measure, const std::vector<int> &failing,
                      int profile);
    // The measure the current row's text belongs to, or null.
    const design::Legibility *currentMeasure() const;

    QDoubleSpinBox *m_threshold;
    QCheckBox *m_allSizes;
    QLabel *m_summary;
    QTreeWidget *m_list;
    QPushButton *m_fix;
    QAction *m_fixRow;
    design::Legibility m_measure;
    QString m_depthName;
    std::vector<SizeLegibility> m_sizes;
    int m_failing = 0;
};

} // namespace zelkor
