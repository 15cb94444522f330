#include "converterprogress.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace zelkor {

ConverterProgressDialog::ConverterProgressDialog(QWidget *parent) : m_parent(parent) {}

ConverterProgressDialog::~ConverterProgressDialog()
{
    delete m_dialog;
}

void ConverterProgressDialog::show(const QString &subject)
{
    delete m_dialog;
    m_dialog = new QProgressDialog(QStringLiteral("Обработка файла «%1»…").arg(QFileInfo(subject).fileName()),
                                   QStringLiteral("Отмена"), 0, 0, m_parent);
    m_dialog->setWindowTitle(QStringLiteral("Конвертер"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->show();
}

bool ConverterProgressDialog::cancelled() const
{
    return m_dialog && m_dialog->wasCanceled();
}

void ConverterProgressDialog::hide()
{
    delete m_dialog;
}

} // namespace zelkor
