#pragma once
// Find compares what the user sees with what the user typed: each cell is
// decoded as the screen shows it (UTF-8 when valid, else Windows-1252) and,
// unless the case must match, both texts are case-folded for every letter.
// Cells of plain ASCII, by far the most common, are compared as bytes, so a
// search through a million rows stays quick.
#include "grid/GridTextMatch.h"

#include <QString>

#include <string>

namespace hpa {

class CQtGridTextMatcher : public CGridTextMatcher {
public:
    void Begin(std::string_view strFind, bool bCaseSensitive, bool bWholeWord) override;
    bool Matches(std::string_view strCell) override;

private:
    QString m_strFind;      // decoded, folded unless the case must match
    std::string m_strAscii; // the same as bytes when it is all ASCII
    bool m_bAsciiFind = true;
    bool m_bCaseSensitive = false;
    bool m_bWholeWord = false;
    std::string m_strCell; // a folded ASCII cell, kept to spare allocations
};

} // namespace hpa
