// Text search of the built-in store: one column, row by row from the row
// after the start row, never wrapping around. A matcher decides each cell.
#include "grid/GridStore.h"
#include "grid/GridTextMatch.h"

namespace hpa {

namespace {

// Bytes a-z to A-Z; other bytes (including those of multi-byte characters)
// stay as they are, so no text is ever re-encoded.
void UpperAsciiInto(std::string_view str, std::string* pstrOut)
{
    pstrOut->assign(str);
    for (char& ch : *pstrOut) {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
}

} // namespace

void CGridByteMatcher::Begin(std::string_view strFind, bool bCaseSensitive, bool bWholeWord)
{
    m_bCaseSensitive = bCaseSensitive;
    m_bWholeWord = bWholeWord;
    if (bCaseSensitive)
        m_strFind.assign(strFind);
    else
        UpperAsciiInto(strFind, &m_strFind);
}

bool CGridByteMatcher::Matches(std::string_view strCell)
{
    if (m_bCaseSensitive)
        return ContainsText<char>(strCell, m_strFind, m_bWholeWord);
    UpperAsciiInto(strCell, &m_strCell);
    return ContainsText<char>(m_strCell, m_strFind, m_bWholeWord);
}

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
    CGridByteMatcher byteMatcher;
    CGridTextMatcher& matcher = m_pFindMatcher ? *m_pFindMatcher : byteMatcher;
    matcher.Begin(str, m_bFindCaseSensitive == 1, m_bFindWholeWord == 1);
    const int nStep = m_bFindForward == 1 ? 1 : -1;
    const int nRows = static_cast<int>(m_rows.size());
    for (int nRow = *pnRow + nStep; nRow >= 0 && nRow < nRows; nRow += nStep) {
        const CUGCell* pCell = PeekCell(nCol, nRow);
        if (pCell && matcher.Matches(pCell->GetText())) {
            *pnRow = nRow;
            return 0;
        }
    }
    return 1;
}

} // namespace hpa
