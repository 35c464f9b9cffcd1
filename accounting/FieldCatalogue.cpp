#include "accounting/FieldCatalogue.h"

namespace hpa {

const std::array<const char*, 24> kJobFilterItems = {
    "Job ID",        "Priority",        "Time",
    "Date",          "Completion code", "User",
    "Host",          "Connection",      "File",
    "Charge",        "Compile time",    "Print time",
    "Header count",  "Error count",     "Body count",
    "Simplex count", "Duplex count",    "Finishing",
    "Chunk count",   "Jam count",       "Paper types count",
    "Black ink",     "Color ink",       "Index count/index"};

const std::array<const char*, 6> kPaperFilterItems = {"Paper width", "Paper height", "Paper weight",
                                                      "Paper color", "Paper type",   "Paper label"};

const std::array<const char*, 17> kStatusFilterItems = {"Version",
                                                        "Number of paper types",
                                                        "Job file size",
                                                        "Last job file size",
                                                        "Job file usage",
                                                        "Current job file usage",
                                                        "Max number of job files",
                                                        "Current job file",
                                                        "Number of jobs",
                                                        "Multifile",
                                                        "Enabled",
                                                        "Job file full",
                                                        "Paper file full",
                                                        "User",
                                                        "Host",
                                                        "File",
                                                        "Charge"};

namespace {

using S = FieldSyntax;

// Indexed by field number.
const std::array<CFieldInfo, kFieldCount> kCatalogue = {{
    {0, kKindJob, "Job ID", S::Plain, 0},
    {1, kKindJob, "Priority", S::Plain, 1},
    {2, kKindJob, "Time", S::Braced, 2},
    {3, kKindJob, "Date", S::Braced, 3},
    {4, kKindJob, "Completion code", S::Plain, 4},
    {5, kKindJob, "User", S::Braced, 5},
    {6, kKindJob, "Host", S::Braced, 6},
    {7, kKindJob, "File", S::Braced, 8},
    {8, kKindJob, "Charge", S::Braced, 9},
    {9, kKindJob, "Compile time", S::Plain, 10},
    {10, kKindJob, "Print time", S::Plain, 11},
    {11, kKindJob, "Header count", S::Plain, 12},
    {12, kKindJob, "Error count", S::Plain, 13},
    {13, kKindJob, "Body count", S::Plain, 14},
    {14, kKindJob, "Simplex count", S::Plain, 15},
    {15, kKindJob, "Duplex count", S::Plain, 16},
    {16, kKindJob, "Finishing", S::Plain, 17},
    {17, kKindJob, "Chunk count", S::Plain, 18},
    {18, kKindJob, "Jam count", S::Plain, 19},
    {19, kKindJob, "Paper types count", S::Plain, 20},
    {20, kKindJob, "Index count/index", S::IndexPair, 25},
    {21, kKindJob, "Index count/index", S::IndexPair, 26},
    {22, kKindPaper, "Paper width", S::Plain, 0},
    {23, kKindPaper, "Paper height", S::Plain, 1},
    {24, kKindPaper, "Paper weight", S::Plain, 2},
    {25, kKindPaper, "Paper color", S::Enclosed, 3},
    {26, kKindPaper, "Paper type", S::Enclosed, 4},
    {27, kKindPaper, "Paper label", S::Enclosed, 5},
    {28, kKindStatus, "Version", S::Plain, 0},
    {29, kKindStatus, "Number of paper types", S::Plain, 1},
    {30, kKindStatus, "Job file size", S::Plain, 2},
    {31, kKindStatus, "Last job file size", S::Plain, 3},
    {32, kKindStatus, "Job file usage", S::Plain, 4},
    {33, kKindStatus, "Current job file usage", S::Plain, 5},
    {34, kKindStatus, "Max number of job files", S::Plain, 6},
    {35, kKindStatus, "Current job file", S::Plain, 7},
    {36, kKindStatus, "Number of jobs", S::Plain, 8},
    {37, kKindStatus, "Multifile", S::Plain, 9},
    {38, kKindStatus, "Enabled", S::Plain, 10},
    {39, kKindStatus, "Job file full", S::Plain, 11},
    {40, kKindStatus, "Paper file full", S::Plain, 12},
    {41, kKindStatus, "User", S::Plain, 13},
    {42, kKindStatus, "Host", S::Plain, 14},
    {43, kKindStatus, "File", S::Plain, 15},
    {44, kKindStatus, "Charge", S::Plain, 16},
    {45, kKindJob, "Connection", S::Braced, 7},
    {46, kKindJob, "Color ink", S::Plain, 22},
    {47, kKindJob, "Color ink", S::Plain, 23},
    {48, kKindJob, "Color ink", S::Plain, 24},
    {49, kKindJob, "Black ink", S::Plain, 21},
}};

} // namespace

const CFieldInfo& FieldInfo(int nField)
{
    return kCatalogue[IsFieldNumber(nField) ? static_cast<std::size_t>(nField) : 0];
}

int FieldOfMaskPosition(int nKind, int nPosition)
{
    if (nKind < 0 || nKind >= kDataKindCount || nPosition < 0 ||
        nPosition >= kMaskLength[static_cast<std::size_t>(nKind)])
        return -1;
    switch (nKind) {
    case kKindJob:
        return kJobPositionField[static_cast<std::size_t>(nPosition)];
    case kKindPaper:
        return kPaperFirstField + nPosition;
    default:
        return kStatusFirstField + nPosition;
    }
}

} // namespace hpa
