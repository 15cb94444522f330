#pragma once
// The small window shown while the converter runs longer than a moment, with
// "Отмена" to end it.

#include "skin/converter.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

namespace zelkor {

class ConverterProgressDialog : public ConverterProgress {
public:
    explicit ConverterProgressDialog(QWidget *parent);
    ~ConverterProgressDialog() override;

    void show(const QString &subject) override;
    bool cancelled() const override;
    void hide() override;

private:
    QWidget *m_parent;
    QPointer<QProgressDialog> m_dialog;
};

} // namespace zelkor
