#include "converterprogress.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
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
    m_dialog = new QProgressDialog(m_parent);
    // A file's name is shown as it is, never read as markup.
    auto *label = new QLabel(m_dialog);
    label->setTextFormat(Qt::PlainText);
    label->setText(QStringLiteral("Обработка файла «%1»…").arg(QFileInfo(subject).fileName()));
    m_dialog->setLabel(label);
    m_dialog->setCancelButtonText(QStringLiteral("Отмена"));
    m_dialog->setRange(0, 0);
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
