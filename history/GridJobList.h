#pragma once
// The jobs of a job grid filled with every field selected, one CHistoryJob
// per record: its ordinary fields from the record's first row, its index
// pairs from all of its rows.
#include "history/HistoryStore.h"

#include <vector>

namespace hpa {

class CUGCtrl;
class CGridMemStore;

// The all-ones job mask: every job field selected.
inline constexpr const char* kAllJobFieldsMask = "111111111111111111111111111";

class CGridJobList : public CHistoryJobList {
public:
    // recordRows: what the job reader listed (each record's first row, then
    // the row after the last); bHasInk: false for version "1" files.
    CGridJobList(CUGCtrl& grid, std::vector<int> recordRows, bool bHasInk);

    std::size_t Count() const override;
    void Get(std::size_t nIndex, CHistoryJob& job) const override;

private:
    std::string_view Cell(int nCol, int nRow) const;

    CGridMemStore* m_pStore;
    std::vector<int> m_recordRows;
    bool m_bHasInk;
};

} // namespace hpa
