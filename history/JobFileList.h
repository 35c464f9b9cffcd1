#pragma once
// The jobs of a job file read straight from its bytes, without a grid: the
// same values, byte for byte, that a job grid filled with every field
// selected shows (stale values carried, index lines, version "1" files
// without ink), as they are read back from such a grid.
//
// The values are kept in one byte block: a field a record does not name
// shares the bytes of the value it carries, so the memory held grows with
// the file's text, not with the number of fields shown.
#include "accounting/FieldCatalogue.h"
#include "history/HistoryStore.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hpa {

class CJobFileList : public CHistoryJobList {
public:
    // Reads at most nAnnounced records of the job file at path, starting
    // from the field values in values (what the readers held before the job
    // file, as a grid fill would start from them); bHasInk false for
    // version "1" files. False with a message when the file cannot be read
    // or would need more memory than its size justifies: four bytes for each
    // byte of the file, but at least nMinBudget.
    static constexpr std::uint64_t kMinBudget = std::uint64_t{1} << 30;
    bool Read(const std::filesystem::path& path, const std::array<std::string, kFieldCount>& values,
              std::int32_t nAnnounced, bool bHasInk, std::string& strError,
              std::uint64_t nMinBudget = kMinBudget);

    std::size_t Count() const override;
    void Get(std::size_t nIndex, CHistoryJob& job) const override;

private:
    // Appends a value (its length, then its bytes) and returns where it is.
    std::uint64_t Append(std::string_view value);
    std::string_view At(std::uint32_t nOffset) const;

    static constexpr std::size_t kSlots = kHistoryFieldCount + 1; // the fields, the index
    std::string m_bytes;
    std::vector<std::uint32_t> m_slots; // kSlots a job: where its values are
    bool m_bHasInk = true;
};

} // namespace hpa
