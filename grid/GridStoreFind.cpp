// Text search of the built-in store: one column, row by row from the row
// after the start row, never wrapping around.
#include "grid/GridStore.h"

namespace hpa {

namespace {

// Bytes a-z to A-Z; other bytes (including those of multi-byte characters)
// stay as they are, so no text is ever re-encoded.
std::string UpperAscii(std::string_view str)
{
    std::string strOut(str);
    for (char& ch : strOut) {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    return strOut;
}

bool StandsAlone(std::string_view strText, std::size_t nPos, std::size_t nLen)
{
    const bool bStart = nPos == 0 || strText[nPos - 1] == ' ';
    const bool bEnd = nPos + nLen == strText.size() || strText[nPos + nLen] == ' ';
    return bStart && bEnd;
}

// Every occurrence is a candidate for a whole-word match, so a cell is found
// whenever the text stands alone anywhere in it.
bool Matches(std::string_view strText, std::string_view strFind, bool bWholeWord)
{
    std::size_t nPos = strText.find(strFind);
    if (!bWholeWord)
        return nPos != std::string_view::npos;
    while (nPos != std::string_view::npos) {
        if (StandsAlone(strText, nPos, strFind.size()))
            return true;
        nPos = strText.find(strFind, nPos + 1);
    }
    return false;
}

} // namespace

int CGridMemStore::FindFirst(int nCol, std::string_view str, int* pnRow)
{
    return FindNext(nCol, str, pnRow);
}

int CGridMemStore::FindNext(int nCol, std::string_view str, int* pnRow)
{
    return Search(nCol, str, pnRow);
}

int CGridMemStore::Search(int nCol, std::string_view str, int* pnRow)
{
    if (!pnRow || *pnRow < 0 || static_cast<std::size_t>(*pnRow) >= m_rows.size() || nCol < -1)
        return 1;
    const bool bCase = m_bFindCaseSensitive == 1;
    const std::string strFind = bCase ? std::string(str) : UpperAscii(str);
    const int nStep = m_bFindForward == 1 ? 1 : -1;
    const int nRows = static_cast<int>(m_rows.size());
    for (int nRow = *pnRow + nStep; nRow >= 0 && nRow < nRows; nRow += nStep) {
        const CUGCell* pCell = PeekCell(nCol, nRow);
        if (!pCell)
            continue;
        const std::string& strText = pCell->GetText();
        const bool bFound = bCase ? Matches(strText, strFind, m_bFindWholeWord == 1)
                                  : Matches(UpperAscii(strText), strFind, m_bFindWholeWord == 1);
        if (bFound) {
            *pnRow = nRow;
            return 0;
        }
    }
    return 1;
}

} // namespace hpa
