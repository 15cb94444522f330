#pragma once
// The "Читаемость" dock: the texts of the skin below the contrast threshold,
// one row per colour slot (its swatch, label, worst ratio, where that is and
// how many texts), worst first and expandable to its texts, with the
// threshold itself (remembered between runs). Choosing a row asks the window
// to show that text (a slot's row: its worst); "Исправить" asks it to fix the
// row's colour slot. The dock only shows what the window measured.

#include "design/legibility.h"

#include <QDockWidget>

class QAction;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace zelkor {

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
    // The text of the current row (an index into the measure shown), -1 for none.
    int currentText() const;
    // Makes slot row `row` (0: the worst) current, as a click would.
    void chooseRow(int row);
    // The same for the row of colour slot `slot`; false when it has none.
    bool chooseSlot(int slot);
    // Slot rows, and the texts below the threshold in all of them.
    int rowCount() const;
    int failingCount() const { return m_failing; }

    QTreeWidget *list() const { return m_list; }
    QPushButton *fixButton() const { return m_fix; }
    QDoubleSpinBox *thresholdBox() const { return m_threshold; }

signals:
    void textChosen(int text);
    void fixRequested(int slot);
    void minContrastChanged(double minContrast);

private:
    void updateFixButton();

    QDoubleSpinBox *m_threshold;
    QLabel *m_summary;
    QTreeWidget *m_list;
    QPushButton *m_fix;
    QAction *m_fixRow;
    design::Legibility m_measure;
    int m_failing = 0;
};

} // namespace zelkor
