#pragma once
// The fixed vocabulary of the printer's accounting: the three data kinds,
// the 50 field numbers with their kind, display name, value syntax and mask
// position, and the job mask position to field map.
#include <array>
#include <string_view>

namespace hpa {

// Data kinds. The index selects the grid and the block in a .hpa file.
enum DataKind : int { kKindJob = 0, kKindPaper = 1, kKindStatus = 2 };
inline constexpr int kDataKindCount = 3;

// View command ids and the texts of the data-kind pane, by data kind.
inline constexpr std::array<int, kDataKindCount> kDataKindCommand = {32778, 32779, 32780};
inline constexpr std::array<const char*, kDataKindCount> kDataKindPaneText = {"JOB", "PAPER",
                                                                              "STATUS"};
// Mask lengths and the number of items of the filter lists, by data kind.
inline constexpr std::array<int, kDataKindCount> kMaskLength = {27, 6, 17};
inline constexpr std::array<int, kDataKindCount> kFilterItemCount = {24, 6, 17};

inline constexpr int kFieldCount = 50;

// How a value is written after its "number:" tag.
enum class FieldSyntax {
    Plain,     // text up to the next "," or line end, leading white space removed
    Braced,    // "{" text "}" (job file), may contain "," and ":"
    Enclosed,  // text with one enclosing character at each end (paper file)
    IndexPair, // the two values of an index line following a job record
};

struct CFieldInfo {
    int m_nField;
    DataKind m_kind;
    const char* m_pszDisplayName; // as listed in the "Filter Data" dialog
    FieldSyntax m_syntax;
    int m_nMaskPosition; // position in the mask of m_kind
};

// The catalogue entry of a field number 0 to 49 (others: field 0's entry;
// check IsFieldNumber first).
const CFieldInfo& FieldInfo(int nField);
constexpr bool IsFieldNumber(int nField)
{
    return nField >= 0 && nField < kFieldCount;
}

// Job mask position 0 to 26 → field number.
inline constexpr std::array<int, 27> kJobPositionField = {0,  1,  2,  3,  4,  5,  6,  45, 7,
                                                          8,  9,  10, 11, 12, 13, 14, 15, 16,
                                                          17, 18, 19, 49, 46, 47, 48, 20, 21};
inline constexpr int kPaperFirstField = 22;  // paper position p → field 22 + p
inline constexpr int kStatusFirstField = 28; // status position p → field 28 + p

// Mask positions that matter to the readers.
inline constexpr int kJobPosBlackInk = 21;  // field 49
inline constexpr int kJobPosColorInk = 22;  // 22, 23, 24: fields 46, 47, 48
inline constexpr int kJobPosIndexPair = 25; // 25, 26: the two index values

// The field a mask position of a data kind selects; -1 when out of range.
int FieldOfMaskPosition(int nKind, int nPosition);

// Status fields the rest of the system reads.
inline constexpr int kFieldVersion = 28;
inline constexpr int kFieldPaperTypes = 29;
inline constexpr int kFieldJobFileSize = 30;
inline constexpr int kFieldJobFileUsage = 32;
inline constexpr int kFieldMaxJobFiles = 34;
inline constexpr int kFieldNumberOfJobs = 36;
inline constexpr int kFieldMultifile = 37;
// Job fields with a further use.
inline constexpr int kFieldDate = 3;
inline constexpr int kFieldUser = 5;
inline constexpr int kFieldPrintTime = 10;
inline constexpr int kFieldSimplex = 14;
inline constexpr int kFieldDuplex = 15;
inline constexpr int kFieldJams = 18;
inline constexpr int kFieldIndexCount = 19;
inline constexpr int kFieldIndexCountName = 20; // heading of the first index column
inline constexpr int kFieldIndexName = 21;      // heading of the second index column

// Items of the three lists of the "Filter Data" dialog, in list order.
// Job items 0 to 21 are mask positions 0 to 21, item 22 ("Color ink") is
// positions 22 to 24 and item 23 ("Index count/index") positions 25 and 26;
// paper and status item i is position i.
extern const std::array<const char*, 24> kJobFilterItems;
extern const std::array<const char*, 6> kPaperFilterItems;
extern const std::array<const char*, 17> kStatusFilterItems;

} // namespace hpa
