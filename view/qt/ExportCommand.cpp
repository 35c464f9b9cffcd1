#include "view/qt/ExportCommand.h"

#include "accounting/Acc.h"
#include "app/AccViewBase.h"
#include "app/VexAccApp.h"
#include "platform/Messages.h"
#include "platform/qt/BackgroundWork.h"
#include "view/ExportWriter.h"

#include <QFileDialog>
#include <QSaveFile>

namespace hpa {

void SetupExportDialog(QFileDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Export"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(
        {QStringLiteral("Comma separated (*.csv)"), QStringLiteral("Tab separated (*.txt)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // A name typed without an extension gets the one of the type chosen in
    // the dialog, so the name the dialog checks for replacing is the name
    // written. A name with an extension keeps it, and that extension alone
    // decides the separator.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [pDialog = &dialog](const QString& strFilter) {
                         pDialog->setDefaultSuffix(ExportSuffixForFilter(strFilter));
                     });
    // Replacing an existing file is asked about (the dialog's default).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

QString ExportSuffixForFilter(const QString& strFilter)
{
    return strFilter.contains(QStringLiteral("*.txt"), Qt::CaseInsensitive) ? QStringLiteral("txt")
                                                                            : QStringLiteral("csv");
}

QString AskExportFileName(QWidget* pParent)
{
    QFileDialog dialog(pParent);
    SetupExportDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

ExportCommandResult ExportGridToFile(CUGCtrl& grid, int nKind, const std::string& strDateFieldName,
                                     const QString& strPath, CMessages& messages)
{
    const char chSeparator = ExportSeparatorFor(strPath.toStdString());
    // A big grid takes a while: the window keeps painting meanwhile. The
    // file object lives on the worker only.
    ExportCommandResult result = ExportCommandResult::Written;
    RunWithoutFreezing([&] {
        QSaveFile file(strPath);
        if (!file.open(QIODevice::WriteOnly)) {
            result = ExportCommandResult::CannotCreate;
            return;
        }
        const bool bWritten =
            WriteExport(grid, nKind, strDateFieldName, chSeparator, [&file](std::string_view str) {
                return file.write(str.data(), static_cast<qint64>(str.size())) ==
                       static_cast<qint64>(str.size());
            });
        if (!bWritten) {
            file.cancelWriting(); // the partial copy goes with the object
            result = ExportCommandResult::WriteFailed;
        } else if (!file.commit()) {
            result = ExportCommandResult::WriteFailed;
        }
    });
    if (result == ExportCommandResult::CannotCreate)
        messages.Exclamation(kMsgErrorCreatingExport);
    else if (result == ExportCommandResult::WriteFailed)
        messages.Exclamation(kMsgErrorWritingExport);
    return result;
}

ExportCommandResult OnExport(QWidget* pView, CUGCtrl& grid, int nKind, const CAcc& acc,
                             CMessages& messages, const std::function<QString()>& fnAskFileName)
{
    const QString strPath = fnAskFileName ? fnAskFileName() : AskExportFileName(pView);
    if (strPath.isEmpty())
        return ExportCommandResult::Cancelled;
    return ExportGridToFile(grid, nKind, acc.m_strFieldName[kFieldDate], strPath, messages);
}

ExportCommandResult RunExportCommand(CAccViewBase& view)
{
    CVexAccApp* pApp = CVexAccApp::Instance();
    const int nGrid = view.CurrentGrid();
    if (!pApp || nGrid < 0 || nGrid >= kDataKindCount)
        return ExportCommandResult::Cancelled;
    return OnExport(&view, view.Grid(nGrid), nGrid, g_acc, pApp->Messages());
}

} // namespace hpa
