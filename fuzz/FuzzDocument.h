#pragma once
// Fuzz target for the .hpa loader: any bytes either load, or are refused
// with CArchiveException (reported as "Unexpected file format."); nothing
// else may escape. A document that loads must store again, and the stored
// bytes must load back to the same bytes (the layout has one spelling).
#include "fuzz/FuzzCheck.h"

#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/GridStore.h"
#include "grid/UGCtrl.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace hpa::fuzz {

struct CFuzzDocument {
    CUGCtrl m_grids[3];
    CAcc m_acc;

    CAccDocumentContent Content() { return {{&m_grids[0], &m_grids[1], &m_grids[2]}, &m_acc}; }

    // False when the bytes were refused.
    bool Load(const char* pData, std::size_t nSize)
    {
        try {
            LoadAccDocument(pData, nSize, Content());
            return true;
        } catch (const CArchiveException&) {
            return false;
        }
    }

    void CheckGrids(std::size_t nInputSize)
    {
        for (CUGCtrl& grid : m_grids) {
            HPA_FUZZ_CHECK(grid.ColumnCount() >= 0 && grid.RowCount() >= 0);
            const CGridMemStore* pStore = grid.GetMemStore();
            HPA_FUZZ_CHECK(pStore && pStore->CheckConsistency());
            // Every stored row came from at least one length byte.
            HPA_FUZZ_CHECK(static_cast<std::size_t>(pStore->StoredRowCount()) <= nInputSize);
        }
    }
};

inline int FuzzDocumentLoad(const std::uint8_t* pData, std::size_t nSize)
{
    const char* pText = reinterpret_cast<const char*>(pData);
    CFuzzDocument doc;
    const bool bLoaded = doc.Load(pText, nSize);
    doc.CheckGrids(nSize);
    if (!bLoaded)
        return 0;
    // The job block never holds more columns than the job mask has positions.
    HPA_FUZZ_CHECK(doc.m_grids[0].ColumnCount() <= kMaxJobColumns);

    const std::string strStored = StoreAccDocument(doc.Content());
    CFuzzDocument again;
    HPA_FUZZ_CHECK(again.Load(strStored.data(), strStored.size()));
    HPA_FUZZ_CHECK(StoreAccDocument(again.Content()) == strStored);
    return 0;
}

} // namespace hpa::fuzz
