#pragma once
// How a find decides that a cell holds the text searched for. The store
// walks the rows; a matcher compares one cell's stored bytes with the text.
// The built-in matcher compares bytes and folds only a-z; the window layer
// supplies one that compares the text as the screen shows it.
#include <cstddef>
#include <string>
#include <string_view>

namespace hpa {

class CGridTextMatcher {
public:
    virtual ~CGridTextMatcher() = default;

    // Readies one search: the text as typed (UTF-8) and the options.
    virtual void Begin(std::string_view strFind, bool bCaseSensitive, bool bWholeWord) = 0;
    // The cell's stored text holds the text of the search.
    virtual bool Matches(std::string_view strCell) = 0;
};

// Bytes compared as they are; without case sensitivity a-z equal A-Z.
class CGridByteMatcher : public CGridTextMatcher {
public:
    void Begin(std::string_view strFind, bool bCaseSensitive, bool bWholeWord) override;
    bool Matches(std::string_view strCell) override;

private:
    std::string m_strFind; // upper-cased when the case does not matter
    std::string m_strCell; // the upper-cased cell, kept to spare allocations
    bool m_bCaseSensitive = false;
    bool m_bWholeWord = false;
};

// The occurrence at nPos stands alone: at the start or after a space, and
// at the end or before one.
template <class CharT>
bool StandsAlone(std::basic_string_view<CharT> text, std::size_t nPos, std::size_t nLen)
{
    const bool bStart = nPos == 0 || text[nPos - 1] == CharT(' ');
    const bool bEnd = nPos + nLen == text.size() || text[nPos + nLen] == CharT(' ');
    return bStart && bEnd;
}

// The text occurs in the cell; with whole words, stands alone at one of its
// occurrences (every occurrence is a candidate).
template <class CharT>
bool ContainsText(std::basic_string_view<CharT> cell, std::basic_string_view<CharT> find,
                  bool bWholeWord)
{
    std::size_t nPos = cell.find(find);
    if (!bWholeWord)
        return nPos != std::basic_string_view<CharT>::npos;
    while (nPos != std::basic_string_view<CharT>::npos) {
        if (StandsAlone(cell, nPos, find.size()))
            return true;
        nPos = cell.find(find, nPos + 1);
    }
    return false;
}

} // namespace hpa
