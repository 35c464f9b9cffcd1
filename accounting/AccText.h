#pragma once
// Small text helpers shared by the accounting file readers. They work on
// bytes: no locale, no re-encoding.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace hpa {

// The white space that leading-space removal and number parsing skip:
// blank, TAB, LF, VT, FF and CR (the C locale's set).
constexpr bool IsAccSpace(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// The text with its leading white space removed.
std::string_view TrimLeadingSpace(std::string_view str);

// The leading decimal integer of a text, as the readers take numbers from
// the printer's files: optional white space, an optional sign, then digits;
// 0 when there are no digits. Values beyond the 32-bit range saturate.
std::int32_t LeadingInteger(std::string_view str);

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
        for (char ch : delims)
            m_bits[static_cast<unsigned char>(ch)] = true;
    }
    constexpr bool Has(char ch) const { return m_bits[static_cast<unsigned char>(ch)]; }

private:
    std::array<bool, 256> m_bits{};
};

// Cuts a line into tokens the classic way: each search skips any characters
// of its delimiter set, takes characters up to the next delimiter and
// consumes that delimiter; the next search, possibly with another set,
// starts right after it. Once the text is used up every search finds
// nothing. Tokens are views into the text, so nothing is allocated.
class CTokenizer {
public:
    explicit CTokenizer(std::string_view text) : m_text(text) {}

    // False when only delimiters (or nothing) remain.
    bool Next(const CDelimSet& delims, std::string_view& token);

private:
    std::string_view m_text;
    std::size_t m_nPos = 0;
};

} // namespace hpa
