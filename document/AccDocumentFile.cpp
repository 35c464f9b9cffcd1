#include "document/AccDocumentFile.h"

#include "accounting/Acc.h"
#include "grid/UGCtrl.h"

#include <cstdint>

namespace hpa {

namespace {

constexpr int kMaxColumns[3] = {kMaxJobColumns, kMaxPaperColumns, kMaxStatusColumns};

[[noreturn]] void BadFormat(const char* pszWhat)
{
    throw CArchiveException(CArchiveException::badFormat, pszWhat);
}

} // namespace

void StoreGridBlock(CArchive& ar, CUGCtrl& grid)
{
    const int nCols = grid.ColumnCount();
    const int nRows = grid.RowCount();
    ar.WriteInt32(nCols);
    ar.WriteInt32(nRows);
    for (int nCol = 0; nCol < nCols; ++nCol) {
        int nWidth = 0;
        grid.GetColumnWidth(nCol, &nWidth);
        ar.WriteInt32(nWidth);
    }
    grid.Serialize(ar); // the column alignments
    CUGCell cell;
    for (int nRow = -1; nRow < nRows; ++nRow) {
        for (int nCol = -1; nCol < nCols; ++nCol) {
            grid.ReadCell(nCol, nRow, &cell);
            cell.Serialize(ar); // the text only
        }
    }
}

namespace {

// Reads one grid block into pGrid, or, with no grid, only reads it through
// so that a fault anywhere in it is found before any grid is touched.
void ReadGridBlock(CArchive& ar, CUGCtrl* pGrid, int nMaxColumns)
{
    const std::int32_t nCols = ar.ReadInt32();
    const std::int32_t nRows = ar.ReadInt32();
    if (nCols < 0 || nCols > nMaxColumns)
        BadFormat("column count out of range");
    if (nRows < 0)
        BadFormat("negative row count");
    // Two integers per column, then at least one length byte per text.
    const std::uint64_t nTexts =
        (static_cast<std::uint64_t>(nRows) + 1) * (static_cast<std::uint64_t>(nCols) + 1);
    ar.RequireRoomFor(8u * static_cast<std::uint64_t>(nCols) + nTexts, 1);

    if (!pGrid) {
        for (int n = 0; n < 2 * nCols; ++n) // widths and alignments
            ar.ReadInt32();
        for (std::uint64_t n = 0; n < nTexts; ++n)
            ar.ReadString();
        return;
    }
    CUGCtrl& grid = *pGrid;
    grid.SetColumnCount(nCols);
    grid.SetRowCount(nRows);
    for (int nCol = 0; nCol < nCols; ++nCol)
        grid.SetColumnWidth(nCol, ar.ReadInt32());
    grid.Serialize(ar); // the column alignments
    // One cell serves every position: it never holds more than its text.
    CUGCell cell;
    for (int nRow = -1; nRow < nRows; ++nRow) {
        for (int nCol = -1; nCol < nCols; ++nCol) {
            cell.Serialize(ar); // replaces the text
            grid.WriteCell(nCol, nRow, &cell);
        }
    }
}

} // namespace

void LoadGridBlock(CArchive& ar, CUGCtrl& grid, int nMaxColumns)
{
    ReadGridBlock(ar, &grid, nMaxColumns);
}

void SerializeAccDocument(CArchive& ar, const CAccDocumentContent& content)
{
    for (std::size_t nKind = 0; nKind < content.m_pGrids.size(); ++nKind) {
        CUGCtrl& grid = *content.m_pGrids[nKind];
        if (ar.IsStoring())
            StoreGridBlock(ar, grid);
        else
            LoadGridBlock(ar, grid, kMaxColumns[nKind]);
    }
    content.m_pAcc->Serialize(ar);
}

std::string StoreAccDocument(const CAccDocumentContent& content)
{
    std::string bytes;
    CArchive ar(bytes);
    SerializeAccDocument(ar, content);
    return bytes;
}

void LoadAccDocument(const char* pData, std::size_t nSize, const CAccDocumentContent& content)
{
    CArchive ar(pData, nSize);
    SerializeAccDocument(ar, content);
}

void CheckAccDocument(const char* pData, std::size_t nSize)
{
    CArchive ar(pData, nSize);
    for (const int nMaxColumns : kMaxColumns)
        ReadGridBlock(ar, nullptr, nMaxColumns);
    CAcc acc;
    acc.Serialize(ar);
}

} // namespace hpa
