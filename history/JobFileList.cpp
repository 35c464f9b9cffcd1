#include "history/JobFileList.h"

#include "accounting/AccText.h"
#include "accounting/JobRecords.h"
#include "history/HistoryValues.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace hpa {

namespace {

constexpr std::size_t kIndexSlot = kHistoryFieldCount;
constexpr std::size_t kLengthBytes = sizeof(std::uint32_t);
// Memory allowed for each byte of the file: a file of many nearly empty
// records (each carrying every value) costs slots, not text, and must not
// grow without bound.
constexpr std::uint64_t kBudgetPerFileByte = 4;

} // namespace

std::uint64_t CJobFileList::Append(std::string_view value)
{
    const std::uint64_t nOffset = m_bytes.size();
    const auto nLength = static_cast<std::uint32_t>(value.size());
    char length[kLengthBytes];
    std::memcpy(length, &nLength, kLengthBytes);
    m_bytes.append(length, kLengthBytes);
    m_bytes.append(value);
    return nOffset;
}

std::string_view CJobFileList::At(std::uint32_t nOffset) const
{
    std::uint32_t nLength = 0;
    std::memcpy(&nLength, m_bytes.data() + nOffset, kLengthBytes);
    return std::string_view(m_bytes.data() + nOffset + kLengthBytes, nLength);
}

bool CJobFileList::Read(const std::filesystem::path& path,
                        const std::array<std::string, kFieldCount>& values, std::int32_t nAnnounced,
                        bool bHasInk, std::string& strError, std::uint64_t nMinBudget)
{
    m_bytes.clear();
    m_slots.clear();
    m_bHasInk = bHasInk;
    CAccFileReader file;
    if (!file.Open(path)) {
        strError = "cannot read the job file " + path.string();
        return false;
    }
    std::error_code ec;
    const std::uint64_t nFileSize = std::filesystem::file_size(path, ec);
    const std::uint64_t nBudget = std::max(nMinBudget, (ec ? 0 : nFileSize) * kBudgetPerFileByte);

    // Room for what a file of ordinary records needs, so that the blocks are
    // not copied as they grow (reserved, not touched: unused room costs no
    // memory).
    m_bytes.reserve(static_cast<std::size_t>(std::min(nBudget, (ec ? 0 : nFileSize) * 3 / 2)));
    m_slots.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max(nAnnounced, 0)),
                                nBudget / (kSlots * sizeof(std::uint32_t))) *
        kSlots));
    const int nFields = bHasInk ? kHistoryFieldCount : kHistFirstInk;
    std::array<std::string, kFieldCount> current = values;
    // Offset 0: the empty value, shared by every empty field and index.
    Append({});
    std::array<std::uint32_t, kSlots> slots{};
    // Before the first record every value counts as new, after it only the
    // ones a record names.
    std::uint64_t nCarried = 0;
    CJobRecordReader records(file, current, nAnnounced, true);
    std::string strIndex;
    while (records.Next()) {
        const std::uint64_t nAssigned = records.Assigned() | ~nCarried;
        nCarried = ~std::uint64_t{0};
        for (int nPos = 0; nPos < nFields; ++nPos) {
            const int nField = kJobPositionField[static_cast<std::size_t>(nPos)];
            if (!(nAssigned & (std::uint64_t{1} << nField)))
                continue;
            const std::string& strValue = current[static_cast<std::size_t>(nField)];
            slots[static_cast<std::size_t>(nPos)] =
                strValue.empty() ? 0 : static_cast<std::uint32_t>(Append(strValue));
        }
        // A grid row holds a record's first index pair, each further row
        // one more; the list reads them back only when "Paper types count"
        // is positive, and then at least the record's own row.
        slots[kIndexSlot] = 0;
        if (LeadingInteger(current[kFieldIndexCount]) > 0) {
            strIndex.clear();
            const int nRows = std::max(records.IndexRows(), 1);
            for (int j = 0; j < nRows; ++j) {
                const bool bRead = j < records.IndexRead();
                AppendIndexValue(strIndex, bRead ? records.Pair(j).m_strFirst : std::string());
                AppendIndexValue(strIndex, bRead ? records.Pair(j).m_strSecond : std::string());
            }
            slots[kIndexSlot] = static_cast<std::uint32_t>(Append(strIndex));
        }
        m_slots.insert(m_slots.end(), slots.begin(), slots.end());
        const std::uint64_t nHeld = m_bytes.size() + m_slots.size() * sizeof(std::uint32_t);
        if (m_bytes.size() > std::numeric_limits<std::uint32_t>::max() || nHeld > nBudget) {
            strError = "the job file " + path.string() + " is too large to collect (" +
                       std::to_string(records.Records()) + " records need more than " +
                       std::to_string(nBudget >> 20) + " MiB)";
            m_bytes.clear();
            m_slots.clear();
            return false;
        }
    }
    return true;
}

std::size_t CJobFileList::Count() const
{
    return m_slots.size() / kSlots;
}

void CJobFileList::Get(std::size_t nIndex, CHistoryJob& job) const
{
    const std::uint32_t* pSlots = m_slots.data() + nIndex * kSlots;
    job.m_bHasInk = m_bHasInk;
    for (std::size_t n = 0; n < kHistoryFieldCount; ++n)
        job.m_field[n] = At(pSlots[n]);
    job.m_strIndex.assign(At(pSlots[kIndexSlot]));
}

} // namespace hpa
