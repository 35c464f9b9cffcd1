#pragma once
// Small text helpers shared by the accounting file readers. They work on
// bytes: no locale, no re-encoding.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace hpa {

// The white space that leading-space removal and number parsing skip:
// blank, TAB, LF, VT, FF and CR (the C locale's set).
constexpr bool IsAccSpace(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// The text with its leading white space removed.
inline std::string_view TrimLeadingSpace(std::string_view str)
{
    std::size_t n = 0;
    while (n < str.size() && IsAccSpace(str[n]))
        ++n;
    return str.substr(n);
}

// The leading decimal integer of a text, as the readers take numbers from
// the printer's files: optional white space, an optional sign, then digits;
// 0 when there are no digits. Values beyond the 32-bit range saturate.
std::int32_t LeadingIntegerFull(std::string_view str);

// The same, with the form nearly every number in a job file has (at most
// one blank, then one to four digits and nothing else) taken inline: the
// job reader parses dozens of them per record.
inline std::int32_t LeadingInteger(std::string_view str)
{
    const std::size_t nStart = !str.empty() && str[0] == ' ' ? 1 : 0;
    const std::size_t nDigits = str.size() - nStart;
    if (nDigits == 0 || nDigits > 4)
        return LeadingIntegerFull(str);
    std::int32_t nValue = 0;
    for (std::size_t n = nStart; n < str.size(); ++n) {
        const unsigned nDigit = static_cast<unsigned char>(str[n]) - static_cast<unsigned>('0');
        if (nDigit > 9)
            return LeadingIntegerFull(str);
        nValue = nValue * 10 + static_cast<std::int32_t>(nDigit);
    }
    return nValue;
}

// A value of two characters or fewer becomes empty; otherwise its first and
// last characters are dropped, whatever they are, and then leading white
// space is removed. Used for the enclosed paper values and braced job values.
std::string StripEnclosing(std::string_view str);

// A dictionary name made readable: the first character upper case; each "_"
// becomes a blank and the character after it is upper-cased and passed over.
// Only a to z change case.
std::string RewordFieldName(std::string_view strRaw);

// A set of delimiter bytes for CTokenizer.
class CDelimSet {
public:
    constexpr explicit CDelimSet(std::string_view delims)
    {
        for (char ch : delims) {
            if (Has(ch))
                continue;
            if (m_nChars < 2)
                m_chars[m_nChars] = ch;
            ++m_nChars;
            m_bits[static_cast<unsigned char>(ch)] = true;
        }
    }
    constexpr bool Has(char ch) const { return m_bits[static_cast<unsigned char>(ch)]; }

    // The position of the first delimiter in pText[nPos, nSize), or nSize.
    // Every set the readers use has one or two bytes; those are searched 16
    // bytes at a time, the rest (and the last few bytes) one at a time.
    std::size_t FindFirst(const char* pText, std::size_t nPos, std::size_t nSize) const
    {
#if defined(__SSE2__)
        if (m_nChars == 1 || m_nChars == 2) {
            const __m128i first = _mm_set1_epi8(m_chars[0]);
            const __m128i second = _mm_set1_epi8(m_chars[m_nChars - 1]);
            for (; nPos < nSize && nSize - nPos >= 16; nPos += 16) {
                const __m128i bytes =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(pText + nPos));
                const int nHits = _mm_movemask_epi8(
                    _mm_or_si128(_mm_cmpeq_epi8(bytes, first), _mm_cmpeq_epi8(bytes, second)));
                if (nHits != 0)
                    return nPos +
                           static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(nHits)));
            }
        }
#endif
        while (nPos < nSize && !Has(pText[nPos]))
            ++nPos;
        return nPos;
    }

private:
    std::array<bool, 256> m_bits{};
    char m_chars[2] = {};
    int m_nChars = 0;
};

// Cuts a line into tokens the classic way: each search skips any characters
// of its delimiter set, takes characters up to the next delimiter and
// consumes that delimiter; the next search, possibly with another set,
// starts right after it. Once the text is used up every search finds
// nothing. Tokens are views into the text, so nothing is allocated.
class CTokenizer {
public:
    explicit CTokenizer(std::string_view text) : m_text(text) {}

    // False when only delimiters (or nothing) remain. Inline: the job
    // reader calls it dozens of times per record.
    bool Next(const CDelimSet& delims, std::string_view& token)
    {
        const std::size_t nSize = m_text.size();
        std::size_t nStart = m_nPos;
        while (nStart < nSize && delims.Has(m_text[nStart]))
            ++nStart;
        if (nStart >= nSize) {
            m_nPos = nSize;
            return false;
        }
        const std::size_t nEnd = delims.FindFirst(m_text.data(), nStart, nSize);
        token = std::string_view(m_text.data() + nStart, nEnd - nStart);
        m_nPos = nEnd < nSize ? nEnd + 1 : nSize;
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_nPos = 0;
};

} // namespace hpa
