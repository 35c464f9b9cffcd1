#include "accounting/JobRecords.h"

#include "accounting/AccText.h"

#include <algorithm>

namespace hpa {

namespace {

constexpr CDelimSet kNumberDelims(":\n");
constexpr CDelimSet kValueDelims(",\n");
constexpr CDelimSet kBracedDelims("}\n");
constexpr CDelimSet kBlankDelims(" \n");
constexpr CDelimSet kIndexTagDelims(":");
constexpr CDelimSet kIndexValueDelims(",");

enum class JobSyntax { Ignored, Plain, Braced };

constexpr JobSyntax JobValueSyntax(int nField)
{
    if (nField == 2 || nField == 3 || (nField >= 5 && nField <= 8) || nField == 45)
        return JobSyntax::Braced;
    if (nField == 0 || nField == 1 || nField == 4 || (nField >= 9 && nField <= 21) ||
        (nField >= 46 && nField <= 49))
        return JobSyntax::Plain;
    return JobSyntax::Ignored;
}

// Tag ":" first value "," tag ":" second value. The second value runs to the
// end of the piece read; its line end is not part of it.
void DecodeIndexLine(std::string_view line, CJobIndexPair& pair)
{
    CTokenizer tokens(line);
    std::string_view tag;
    std::string_view first;
    std::string_view second;
    if (!tokens.Next(kIndexTagDelims, tag) || !tokens.Next(kIndexValueDelims, first))
        first = {};
    if (!tokens.Next(kIndexTagDelims, tag) || !tokens.Next(kIndexValueDelims, second))
        second = {};
    first = TrimLeadingSpace(first);
    second = TrimLeadingSpace(second);
    while (!second.empty() && (second.back() == '\n' || second.back() == '\r'))
        second.remove_suffix(1);
    pair.m_strFirst = first;
    pair.m_strSecond = second;
}

} // namespace

CJobRecordReader::CJobRecordReader(CAccFileReader& file,
                                   std::array<std::string, kFieldCount>& values, std::int32_t nJobs,
                                   bool bDecodeIndex)
    : m_file(file), m_values(values), m_nJobs(nJobs), m_bDecodeIndex(bDecodeIndex)
{
}

int CJobRecordReader::IndexRows() const
{
    if (m_nIndexLines <= 0)
        return 0;
    return std::max(m_nIndexRead, std::min(m_nIndexLines, kMaxPaddedIndexRows));
}

bool CJobRecordReader::Next()
{
    std::string_view line;
    if (m_nRecords >= m_nJobs || !m_file.ReadLine(kJobLineChars, line))
        return false;
    ++m_nRecords;
    m_nAssigned = 0;
    // The pairs of the record line.
    CTokenizer tokens(UpToNul(line));
    std::string_view number;
    std::string_view value;
    while (tokens.Next(kNumberDelims, number)) {
        const int nField = LeadingInteger(number);
        const JobSyntax syntax = JobValueSyntax(nField);
        if (syntax == JobSyntax::Plain) {
            if (!tokens.Next(kValueDelims, value))
                continue; // nothing left: the next number search ends the line
            value = TrimLeadingSpace(value);
            m_values[static_cast<std::size_t>(nField)] = value;
            m_nAssigned |= std::uint64_t{1} << nField;
            if (nField == kFieldIndexCount)
                m_nIndexLines = LeadingInteger(value);
        } else if (syntax == JobSyntax::Braced) {
            if (!tokens.Next(kBracedDelims, value))
                continue;
            // The value through its closing "}", stripped of both ends:
            // what remains is the text after the first character.
            m_values[static_cast<std::size_t>(nField)] =
                value.size() <= 1 ? std::string_view() : TrimLeadingSpace(value.substr(1));
            m_nAssigned |= std::uint64_t{1} << nField;
            // Whatever stands between the "}" and the next blank goes.
            std::string_view skipped;
            tokens.Next(kBlankDelims, skipped);
        }
        // Any other field number takes no value: the text after it is
        // read as the next field number.
    }

    // The index lines belong to the record whether shown or not; every one
    // of them is consumed, and decoded only when asked for.
    m_nIndexRead = 0;
    for (; m_nIndexRead < m_nIndexLines; ++m_nIndexRead) {
        if (!m_file.ReadLine(kJobLineChars, line))
            break;
        if (!m_bDecodeIndex)
            continue;
        if (static_cast<std::size_t>(m_nIndexRead) >= m_pairs.size())
            m_pairs.emplace_back();
        DecodeIndexLine(UpToNul(line), m_pairs[static_cast<std::size_t>(m_nIndexRead)]);
    }
    return true;
}

} // namespace hpa
