#include "SimJobLog.h"

#include "RemoteTree.h"
#include "accounting/AccText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace hpa::sim {

namespace {

constexpr long long kMaxStatusNumber = 0x7fffffff;

enum class EFieldKind { plain, braced, other };

EFieldKind KindOf(int nField)
{
    if (nField == 0 || nField == 1 || nField == 4 || (nField >= 9 && nField <= 21) ||
        (nField >= 46 && nField <= 49))
        return EFieldKind::plain;
    if ((nField >= 2 && nField <= 8) || nField == 45)
        return EFieldKind::braced;
    return EFieldKind::other;
}

// The values of a job record line, decoded the way the job reader does:
// plain values up to the next ",", braced ones through their "}", and the
// characters after a "}" up to the next blank skipped.
std::map<int, std::string> DecodeRecordLine(std::string_view line)
{
    static const CDelimSet kNumber(":\n");
    static const CDelimSet kPlain(",\n");
    static const CDelimSet kBraced("}\n");
    static const CDelimSet kSkip(" \n");
    std::map<int, std::string> values;
    CTokenizer tok(line);
    std::string_view token;
    while (tok.Next(kNumber, token)) {
        const int nField = LeadingIntegerFull(token);
        switch (KindOf(nField)) {
        case EFieldKind::plain:
            if (tok.Next(kPlain, token))
                values[nField] = std::string(TrimLeadingSpace(token));
            break;
        case EFieldKind::braced:
            if (tok.Next(kBraced, token)) {
                values[nField] = StripEnclosing(std::string(token) + "}");
                tok.Next(kSkip, token);
            }
            break;
        case EFieldKind::other:
            break;
        }
    }
    return values;
}

// The next line of text from nPos, its line end included.
std::string_view NextLine(std::string_view text, std::size_t& nPos)
{
    const std::size_t nLf = text.find('\n', nPos);
    const std::size_t nEnd = nLf == std::string_view::npos ? text.size() : nLf + 1;
    std::string_view line = text.substr(nPos, nEnd - nPos);
    nPos = nEnd;
    return line;
}

bool ReadWhole(const std::filesystem::path& path, std::string& strBytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    strBytes = ss.str();
    return !in.bad();
}

// Replaces a file at once, so a session that already opened the old one
// keeps reading it whole.
bool WriteReplacing(const std::filesystem::path& path, const std::string& strBytes)
{
    const std::filesystem::path temp = path.parent_path() / ("." + path.filename().string());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
        out.flush();
        if (!out)
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

} // namespace

CSimJobLog::CSimJobLog(long nAdvance, long nCapacity, std::uint64_t nSeed)
    : m_nAdvance(nAdvance), m_nCapacity(nCapacity), m_nSeed(nSeed)
{
}

CSimJobLog::~CSimJobLog()
{
    if (!m_dir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
}

bool CSimJobLog::Open(const std::filesystem::path& root, std::string& strError)
{
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "hpa-printer-sim-XXXXXX").string();
    if (mkdtemp(strTemplate.data()) == nullptr) {
        strError = "cannot create a private directory for the advancing job log";
        return false;
    }
    m_dir = strTemplate;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root, ec)) {
        const std::string strName = entry.path().filename().string();
        if (!entry.is_regular_file() || !CRemoteTree::IsServedName(strName))
            continue;
        if (!std::filesystem::copy_file(entry.path(), m_dir / strName, ec)) {
            strError = "cannot copy " + entry.path().string() + ": " + ec.message();
            return false;
        }
    }
    if (ec) {
        strError = "cannot read " + root.string() + ": " + ec.message();
        return false;
    }
    return ReadStatus(strError) && ReadJobs(strError);
}

bool CSimJobLog::ReadStatus(std::string& strError)
{
    std::string strBytes;
    if (!ReadWhole(m_dir / "acc.sta", strBytes)) {
        strError = "--advance needs a status file acc.sta in the root";
        return false;
    }
    std::size_t nPos = 0;
    std::string_view first = NextLine(strBytes, nPos);
    m_strStatusRest = strBytes.substr(nPos);
    if (first.ends_with('\n'))
        first.remove_suffix(1);
    if (first.ends_with('\r')) {
        first.remove_suffix(1);
        m_bCrlf = true;
    }
    static const CDelimSet kNumber(":\n");
    static const CDelimSet kValue(",\n");
    CTokenizer tok(first);
    std::string_view number, value;
    while (tok.Next(kNumber, number) && tok.Next(kValue, value))
        m_status.push_back({LeadingIntegerFull(number), std::string(TrimLeadingSpace(value))});
    m_nJobFiles =
        StatusValue(37) == "2" ? std::clamp(LeadingIntegerFull(StatusValue(34)), 1, 999) : 1;
    return true;
}

bool CSimJobLog::ReadJobs(std::string& strError)
{
    std::string strText;
    for (int f = 1; f <= m_nJobFiles; ++f) {
        std::string strFile;
        const std::string strName = "acc" + std::to_string(f) + ".job";
        if (!ReadWhole(m_dir / strName, strFile)) {
            strError = "--advance: the status file names " + strName + ", which is missing";
            return false;
        }
        strText += strFile;
    }
    // A record is its line and the index lines its field 19 announces; a
    // record without field 19 has as many as the one before.
    long nIndexLines = 0;
    std::map<int, std::string> last;
    for (std::size_t nPos = 0; nPos < strText.size();) {
        std::string_view line = NextLine(strText, nPos);
        last = DecodeRecordLine(line);
        if (auto it = last.find(19); it != last.end())
            nIndexLines = std::max(0, LeadingIntegerFull(it->second));
        std::string strRecord(line);
        for (long j = 0; j < nIndexLines && nPos < strText.size(); ++j)
            strRecord += NextLine(strText, nPos);
        m_nRecordBytes += strRecord.size();
        m_records.push_back(std::move(strRecord));
    }
    const bool bInk = StatusValue(28) != "1";
    const int nPaperTypes = std::clamp(LeadingIntegerFull(StatusValue(29)), 1, 30);
    m_pMaker = std::make_unique<CJobMaker>(m_nSeed, nPaperTypes, bInk);
    if (!m_records.empty()) {
        m_pMaker->ContinueAfter(LeadingIntegerFull(last[0]), last[3], last[2]);
        m_nBytesPerJob = (m_nRecordBytes + m_records.size() - 1) / m_records.size();
    } else {
        // An empty log: a job like the ones to come sizes the file.
        CJobMaker sample(m_nSeed, nPaperTypes, bInk);
        std::string strSample;
        sample.AppendJob(strSample, m_bCrlf);
        m_nBytesPerJob = strSample.size();
    }
    return true;
}

std::string CSimJobLog::StatusValue(int nField) const
{
    std::string strValue;
    for (const SStatusPair& pair : m_status) {
        if (pair.m_nField == nField)
            strValue = pair.m_strValue; // a repeated field keeps its last value
    }
    return strValue;
}

void CSimJobLog::SetStatusValue(int nField, long long nValue)
{
    const std::string strValue = std::to_string(std::min(nValue, kMaxStatusNumber));
    bool bFound = false;
    for (SStatusPair& pair : m_status) {
        if (pair.m_nField == nField) {
            pair.m_strValue = strValue;
            bFound = true;
        }
    }
    if (!bFound)
        m_status.push_back({nField, strValue});
}

std::shared_lock<std::shared_mutex> CSimJobLog::BeginDownload(std::string& strEvent)
{
    strEvent.clear();
    {
        std::unique_lock<std::shared_mutex> lock(m_mutex);
        if (m_bServedOnce)
            strEvent = Advance();
        m_bServedOnce = true;
    }
    // Another download may move the log on between these two locks; this
    // one then simply starts from the newer state.
    return std::shared_lock<std::shared_mutex>(m_mutex);
}

std::string CSimJobLog::Advance()
{
    std::string strFirstNew, strLastNew;
    for (long n = 0; n < m_nAdvance; ++n) {
        std::string strRecord;
        m_pMaker->AppendJob(strRecord, m_bCrlf);
        (n == 0 ? strFirstNew : strLastNew) = DecodeRecordLine(strRecord)[0];
        m_nRecordBytes += strRecord.size();
        m_records.push_back(std::move(strRecord));
    }
    if (strLastNew.empty())
        strLastNew = strFirstNew;
    long nDropped = 0;
    while (m_nCapacity > 0 && static_cast<long>(m_records.size()) > m_nCapacity) {
        m_nRecordBytes -= m_records.front().size();
        m_records.pop_front();
        ++nDropped;
    }
    std::string strError;
    if (!WriteFiles(strError)) {
        // Not only in the verbose transcript: the downloads now repeat the
        // previous state, which a test or demo must be told.
        std::fprintf(stderr, "hpa-printer-sim: job log not advanced: %s\n", strError.c_str());
        return "job log not advanced: " + strError;
    }
    return "job log advanced: Job IDs " + strFirstNew + " to " + strLastNew + " appended, " +
           std::to_string(nDropped) + " oldest dropped, " + std::to_string(m_records.size()) +
           " held";
}

bool CSimJobLog::WriteFiles(std::string& strError)
{
    // Jobs spread over the job files as the generator spreads them.
    const long long nRecords = static_cast<long long>(m_records.size());
    std::uint64_t nUsage = 0, nLastBytes = 0;
    for (int f = 0; f < m_nJobFiles; ++f) {
        std::string strFile;
        const long long nFrom = nRecords * f / m_nJobFiles;
        const long long nTo = nRecords * (f + 1) / m_nJobFiles;
        for (long long n = nFrom; n < nTo; ++n)
            strFile += m_records[static_cast<std::size_t>(n)];
        const std::string strName = "acc" + std::to_string(f + 1) + ".job";
        if (!WriteReplacing(m_dir / strName, strFile)) {
            strError = "cannot write " + strName;
            return false;
        }
        nUsage += strFile.size();
        nLastBytes = strFile.size();
    }
    // A bounded log is sized for its capacity; the size never falls below
    // what is written, so the consumption never shows more than 100%.
    const std::uint64_t nCapacityBytes =
        m_nCapacity > 0
            ? m_nBytesPerJob * static_cast<std::uint64_t>(m_nCapacity)
            : static_cast<std::uint64_t>(std::max(0, LeadingIntegerFull(StatusValue(30))));
    const std::uint64_t nFiles = static_cast<std::uint64_t>(m_nJobFiles);
    const std::uint64_t nPerFile = (std::max(nCapacityBytes, nUsage) + nFiles - 1) / nFiles;
    SetStatusValue(30, static_cast<long long>(nPerFile * nFiles));
    SetStatusValue(31, static_cast<long long>(nPerFile));
    SetStatusValue(32, static_cast<long long>(nUsage));
    SetStatusValue(33, static_cast<long long>(nLastBytes));
    SetStatusValue(36, nRecords);
    SetStatusValue(39, m_nCapacity > 0 && nRecords >= m_nCapacity ? 1 : 0);
    std::string strStatus;
    for (const SStatusPair& pair : m_status) {
        if (!strStatus.empty())
            strStatus += ", ";
        strStatus += std::to_string(pair.m_nField) + ":" + pair.m_strValue;
    }
    strStatus += m_bCrlf ? "\r\n" : "\n";
    strStatus += m_strStatusRest;
    // The status file last: its values describe the job files just written.
    if (!WriteReplacing(m_dir / "acc.sta", strStatus)) {
        strError = "cannot write acc.sta";
        return false;
    }
    return true;
}

} // namespace hpa::sim
