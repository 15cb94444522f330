#pragma once
// The wait cursor for as long as the window blocks (the converter runs, a
// skin is made): set in the constructor, taken back in the destructor.

#include <QApplication>

namespace zelkor {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace zelkor
