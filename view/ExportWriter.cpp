#include "view/ExportWriter.h"

#include "accounting/FieldCatalogue.h"
#include "grid/UGCtrl.h"
#include "platform/ReplacingFile.h"

#include <cstdio>
#include <memory>

namespace hpa {

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

char AsciiLower(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool NeedsQuotes(std::string_view strCell, char chSeparator)
{
    for (char ch : strCell) {
        if (ch == chSeparator || ch == '"' || ch == '\r' || ch == '\n')
            return true;
    }
    return false;
}

void AppendCell(std::string& strOut, std::string_view strCell, char chSeparator)
{
    if (!NeedsQuotes(strCell, chSeparator)) {
        strOut.append(strCell);
        return;
    }
    strOut.push_back('"');
    for (char ch : strCell) {
        if (ch == '"')
            strOut.push_back('"');
        strOut.push_back(ch);
    }
    strOut.push_back('"');
}

// The first column whose heading is exactly the date field's name, or -1.
int FindDateColumn(CUGCtrl& grid, std::string_view strDateFieldName, CUGCell& cell)
{
    if (strDateFieldName.empty())
        return -1;
    for (int nCol = 0; nCol < grid.ColumnCount(); ++nCol) {
        cell.ClearCell();
        grid.ReadCell(nCol, -1, &cell);
        if (cell.GetText() == strDateFieldName)
            return nCol;
    }
    return -1;
}

} // namespace

char ExportSeparatorFor(std::string_view strPath)
{
    const std::size_t nSlash = strPath.find_last_of('/');
    const std::string_view strName =
        nSlash == std::string_view::npos ? strPath : strPath.substr(nSlash + 1);
    const std::size_t nDot = strName.find_last_of('.');
    if (nDot == std::string_view::npos)
        return ',';
    const std::string_view strExt = strName.substr(nDot + 1);
    if (strExt.size() == 3 && AsciiLower(strExt[0]) == 't' && AsciiLower(strExt[1]) == 'x' &&
        AsciiLower(strExt[2]) == 't')
        return '\t';
    return ',';
}

bool WriteExport(CUGCtrl& grid, int nKind, std::string_view strDateFieldName, char chSeparator,
                 const ExportSink& sink)
{
    CUGCell cell;
    const int nColumns = grid.ColumnCount();
    const int nRows = grid.RowCount();
    const int nDateColumn = nKind == kKindJob ? FindDateColumn(grid, strDateFieldName, cell) : -1;
    const int nFirstRow = nKind == kKindStatus ? 0 : -1;

    std::string strOut;
    strOut.reserve(kFlushSize + 4096);
    std::string strDate;
    for (int nRow = nFirstRow; nRow < nRows; ++nRow) {
        for (int nCol = 0; nCol < nColumns; ++nCol) {
            if (nCol > 0)
                strOut.push_back(chSeparator);
            cell.ClearCell();
            grid.ReadCell(nCol, nRow, &cell);
            const std::string& strText = cell.GetText();
            if (nCol == nDateColumn) {
                strDate = strText;
                if (std::size_t nBlank = strDate.find(' '); nBlank != std::string::npos)
                    strDate[nBlank] = '0';
                AppendCell(strOut, strDate, chSeparator);
            } else {
                AppendCell(strOut, strText, chSeparator);
            }
        }
        strOut.append("\r\n");
        if (strOut.size() >= kFlushSize) {
            if (!sink(strOut))
                return false;
            strOut.clear();
        }
    }
    return strOut.empty() || sink(strOut);
}

std::string ExportToString(CUGCtrl& grid, int nKind, std::string_view strDateFieldName,
                           char chSeparator)
{
    std::string strAll;
    WriteExport(grid, nKind, strDateFieldName, chSeparator, [&strAll](std::string_view str) {
        strAll.append(str);
        return true;
    });
    return strAll;
}

ExportFileResult ExportToFile(CUGCtrl& grid, int nKind, std::string_view strDateFieldName,
                              const std::filesystem::path& path, char chSeparator)
{
    CReplacingFile file;
    if (!file.Open(path))
        return ExportFileResult::CannotCreate;
    const bool bWritten = WriteExport(grid, nKind, strDateFieldName, chSeparator,
                                      [&file](std::string_view str) { return file.Write(str); });
    return bWritten && file.Commit() ? ExportFileResult::Ok : ExportFileResult::WriteFailed;
}

} // namespace hpa
