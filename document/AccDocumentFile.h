#pragma once
// The byte layout of an .hpa accounting document: the job, paper and status
// grid blocks, then the accounting block, with nothing around them.
//
// Grid block of C columns and R rows: C, R (int32); C column widths; C
// column-default alignments; then (R+1) x (C+1) cell texts row by row from
// the heading row -1 and within a row from the row-heading column -1.
//
// Loading is bounded: a count is checked against its limit and against the
// bytes that remain before anything is sized from it, and any violation
// throws CArchiveException, reported as "Unexpected file format.".
#include "document/Archive.h"

#include <array>
#include <cstddef>
#include <string>

namespace hpa {

class CAcc;
class CUGCtrl;

// Column limits per block: the job mask has 27 positions, the paper mask 6,
// and the status grid has its name and value columns.
inline constexpr int kMaxJobColumns = 27;
inline constexpr int kMaxPaperColumns = 6;
inline constexpr int kMaxStatusColumns = 2;

// What a document file holds: the three grids by data kind index (job,
// paper, status) and the accounting set.
struct CAccDocumentContent {
    std::array<CUGCtrl*, 3> m_pGrids{};
    CAcc* m_pAcc = nullptr;
};

void StoreGridBlock(CArchive& ar, CUGCtrl& grid);
// Sets the counts, widths and alignments and writes every cell text the
// block holds. Cells beyond the block are left as they are.
void LoadGridBlock(CArchive& ar, CUGCtrl& grid, int nMaxColumns);

// Stores or loads the whole document, by the archive's direction.
void SerializeAccDocument(CArchive& ar, const CAccDocumentContent& content);

// The whole document as one buffer, ready for a single write.
std::string StoreAccDocument(const CAccDocumentContent& content);
// Loads a whole file's bytes; throws CArchiveException when they do not
// hold a document. The grids keep what was loaded before the fault.
void LoadAccDocument(const char* pData, std::size_t nSize, const CAccDocumentContent& content);
// Reads a whole file's bytes through without keeping anything; throws
// CArchiveException exactly where LoadAccDocument would. Checking first
// lets an open refuse a damaged file before the data on show is touched.
void CheckAccDocument(const char* pData, std::size_t nSize);

} // namespace hpa
