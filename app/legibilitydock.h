#pragma once
// The "Читаемость" dock: every text of the skin below the contrast threshold,
// worst first, with the threshold itself (remembered between runs). Choosing
// a row asks the window to show that text; "Исправить" asks it to fix the
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
    // Makes row `row` (0: the worst) current, as a click would.
    void chooseRow(int row);
    int rowCount() const;

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
};

} // namespace zelkor
