#pragma once
// The jobs of a saved accounting document as one collection for the
// history. A document's job grid holds the columns its job mask selected
// when it was filled (a version "1" file leaves out the ink columns), so
// the columns are mapped to job fields by that mask; fields the document
// lacks are stored empty. Job ID, Date and Time give a job its identity in
// the history: a document without all three is refused.
#include "history/HistoryStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hpa {

class CUGCtrl;
class CGridMemStore;
struct CFieldMasks;

class CDocumentJobList : public CHistoryJobList {
public:
    // Reads the grid's records. bVersion1: the status says version "1",
    // when it shows the version at all (the column count decides where it
    // can). False with a message when the grid's columns do not fit the
    // mask or the jobs cannot be identified.
    bool Read(CUGCtrl& jobGrid, std::string_view strJobMask, bool bVersion1, std::string& strError);

    std::size_t Count() const override { return m_records.size(); }
    void Get(std::size_t nIndex, CHistoryJob& job) const override;

private:
    std::string_view Cell(int nCol, int nRow) const;
    bool IsRecordStart(int nRow) const;

    CGridMemStore* m_pStore = nullptr;
    // Grid column of each mask position; -1 where the document has none.
    std::array<int, 27> m_column{};
    std::vector<std::pair<int, int>> m_records; // first row, row after the last
    bool m_bHasInk = true;
};

// The status values a status grid filled under strStatusMask shows; empty
// for the fields it does not show, all empty when its rows do not fit the
// mask.
std::array<std::string, kHistoryStatusCount> DocumentStatusValues(CUGCtrl& statusGrid,
                                                                  std::string_view strStatusMask);

// A document's grids as one collection of strPrinter at nTimeUtc: the
// input for CHistoryStore::Ingest, its jobs in jobs (which must outlive the
// ingest). False with a message when the document cannot be added.
bool PrepareDocumentCollection(CUGCtrl& jobGrid, CUGCtrl& statusGrid, const CFieldMasks& masks,
                               const std::string& strPrinter, const std::string& strHost,
                               std::int64_t nTimeUtc, CDocumentJobList& jobs,
                               CCollectionInput& input, std::string& strError);

} // namespace hpa
