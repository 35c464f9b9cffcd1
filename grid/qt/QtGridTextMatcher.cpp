#include "grid/qt/QtGridTextMatcher.h"

#include "platform/qt/TextDecode.h"

#include <cstdint>
#include <cstring>

namespace hpa {

namespace {

bool IsAscii(std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; n > 0; ++p, --n)
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    return true;
}

std::u16string_view View(const QString& str)
{
    return {reinterpret_cast<const char16_t*>(str.utf16()), static_cast<std::size_t>(str.size())};
}

} // namespace

void CQtGridTextMatcher::Begin(std::string_view strFind, bool bCaseSensitive, bool bWholeWord)
{
    m_bCaseSensitive = bCaseSensitive;
    m_bWholeWord = bWholeWord;
    m_strFind = QString::fromUtf8(strFind.data(), static_cast<qsizetype>(strFind.size()));
    if (!bCaseSensitive)
        m_strFind = m_strFind.toCaseFolded();
    // What an ASCII cell is compared with: the folded text, when that is
    // ASCII (a-z only, as the cell is folded to lower case).
    const QByteArray utf8 = m_strFind.toUtf8();
    m_strAscii.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    m_bAsciiFind = IsAscii(m_strAscii);
}

bool CQtGridTextMatcher::Matches(std::string_view strCell)
{
    if (IsAscii(strCell)) {
        // An ASCII cell shows its bytes and folds to ASCII: text with other
        // characters cannot be in it.
        if (!m_bAsciiFind)
            return false;
        if (m_bCaseSensitive)
            return ContainsText<char>(strCell, m_strAscii, m_bWholeWord);
        m_strCell.assign(strCell);
        for (char& ch : m_strCell)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char>(ch - 'A' + 'a');
        return ContainsText<char>(m_strCell, m_strAscii, m_bWholeWord);
    }
    // Qt's case-insensitive search folds as it compares, sparing a folded
    // copy of every cell; it folds one character for one, so an occurrence
    // is as long as the text searched for.
    const QString strText = DecodeAccText(strCell);
    const Qt::CaseSensitivity cs = m_bCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const std::u16string_view text = View(strText);
    qsizetype nPos = strText.indexOf(m_strFind, 0, cs);
    if (!m_bWholeWord)
        return nPos >= 0;
    for (; nPos >= 0; nPos = strText.indexOf(m_strFind, nPos + 1, cs))
        if (StandsAlone(text, static_cast<std::size_t>(nPos),
                        static_cast<std::size_t>(m_strFind.size())))
            return true;
    return false;
}

} // namespace hpa
