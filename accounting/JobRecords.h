#pragma once
// The job file's records as every job reader takes them: one record line
// (at most 398 characters a piece) of "number:value" pairs, braced values
// for the text fields, then as many index lines as the last "Paper types
// count" (field 19) announced. A field a record does not name keeps the
// value it had before, so stale values carry from record to record.
#include "accounting/AccFileReader.h"
#include "accounting/FieldCatalogue.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

inline constexpr std::size_t kJobLineChars = 398;

// A record announcing more index lines than this still shows every line it
// has; only lines missing at the end of the file are padded with empty rows,
// and never beyond this many.
inline constexpr int kMaxPaddedIndexRows = 30;

struct CJobIndexPair {
    std::string m_strFirst;
    std::string m_strSecond;
};

class CJobRecordReader {
public:
    // Reads from file into values (the field values by number, carried from
    // record to record) at most nJobs records; bDecodeIndex: decode the
    // index lines too (they are always consumed).
    CJobRecordReader(CAccFileReader& file, std::array<std::string, kFieldCount>& values,
                     std::int32_t nJobs, bool bDecodeIndex);

    // The next record and its index lines; false when the file or the
    // announced number of records ends.
    bool Next();

    // Bit n set: the last record line gave field n a value.
    std::uint64_t Assigned() const { return m_nAssigned; }
    // The index lines the last record announced (its own field 19 or the
    // carried one); 0 until some record gives one.
    int IndexLines() const { return m_nIndexLines; }
    // The index lines read for the last record, and the rows they show
    // (lines missing at the end of the file padded, up to
    // kMaxPaddedIndexRows); pairs are decoded only with bDecodeIndex.
    int IndexRead() const { return m_nIndexRead; }
    int IndexRows() const;
    const CJobIndexPair& Pair(int n) const { return m_pairs[static_cast<std::size_t>(n)]; }
    std::int32_t Records() const { return m_nRecords; }

private:
    CAccFileReader& m_file;
    std::array<std::string, kFieldCount>& m_values;
    std::int32_t m_nJobs;
    bool m_bDecodeIndex;
    std::int32_t m_nRecords = 0;
    std::uint64_t m_nAssigned = 0;
    int m_nIndexLines = 0;
    int m_nIndexRead = 0;
    std::vector<CJobIndexPair> m_pairs;
};

} // namespace hpa
