#pragma once
// File > Export...: the grid on show written to a comma- or TAB-separated
// text file the user names in a save dialog. The separator follows the
// extension of the chosen name only ("txt" in any case: TAB), whatever
// filter was picked. The file is written beside its final place and moved
// there only when complete, so a failed export never leaves half a file in
// place of an older one.
#include <QString>

#include <functional>
#include <string>

class QFileDialog;
class QWidget;

namespace hpa {

class CAcc;
class CAccViewBase;
class CMessages;
class CUGCtrl;

inline constexpr const char* kMsgErrorWritingExport = "Error writing export file.";

// The export save dialog: title "Export", the comma and tab filters,
// default extension "csv" (then that of the type the user picks), asking
// before an existing file is replaced.
void SetupExportDialog(QFileDialog& dialog);
// The extension a file type of that dialog gives ("txt" for the tab
// separated type, else "csv").
QString ExportSuffixForFilter(const QString& strFilter);
// Runs that dialog owned by pParent; the chosen path, or empty.
QString AskExportFileName(QWidget* pParent);

enum class ExportCommandResult { Cancelled, Written, CannotCreate, WriteFailed };

// Writes the export of the grid (data kind nKind) to strPath. A file that
// cannot be created shows "Error creating export file." with the
// exclamation beep; a failed write or the final move shows "Error writing
// export file.", and any older file of that name stays as it was.
ExportCommandResult ExportGridToFile(CUGCtrl& grid, int nKind, const std::string& strDateFieldName,
                                     const QString& strPath, CMessages& messages);

// OnExport: asks for the name (fnAskFileName; empty: the save dialog owned
// by pView), then writes the file. Nothing is written when cancelled.
ExportCommandResult OnExport(QWidget* pView, CUGCtrl& grid, int nKind, const CAcc& acc,
                             CMessages& messages,
                             const std::function<QString()>& fnAskFileName = {});

// What the view's OnExport calls: the command on its shown grid with g_acc
// and the application's messages. Nothing while no data kind is shown.
ExportCommandResult RunExportCommand(CAccViewBase& view);

} // namespace hpa
