#include "document/qt/DocumentUi.h"

#include "grid/qt/GridPrintJob.h"

#include <QFileDialog>
#include <QMessageBox>

namespace hpa {

QString CQtDocumentUi::Filter()
{
    return QStringLiteral("HPA Files (*.hpa);;All Files (*)");
}

CDocumentUi::Answer CQtDocumentUi::AskSaveChanges(const QString& strDocumentName)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("HPA"),
                    QStringLiteral("Save changes to %1?").arg(strDocumentName),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_pOwner);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString CQtDocumentUi::GetOpenFileName()
{
    QFileDialog dialog(m_pOwner, QStringLiteral("Open"), QString(), Filter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().constFirst()
               : QString();
}

QString CDocumentUi::GetPrintFileName(const QString&)
{
    return {};
}

QString CQtDocumentUi::GetPrintFileName(const QString& strSuggested)
{
    return AskPdfFileName(m_pOwner, strSuggested);
}

QString CQtDocumentUi::GetSaveFileName(const QString& strSuggested)
{
    QFileDialog dialog(m_pOwner, QStringLiteral("Save As"), strSuggested, Filter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("hpa"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().constFirst()
               : QString();
}

} // namespace hpa
