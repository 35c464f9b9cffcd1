#pragma once
// What a command that produces accounting data writes: exports of the three
// grids, the summary, and which fields the grids hold (the masks). Shared by
// every command that decodes printer files.
#include "accounting/FieldCatalogue.h"
#include "accounting/FieldMasks.h"

#include <array>
#include <optional>
#include <string>

namespace hpa {
class CAcc;
class CUGCtrl;
} // namespace hpa

namespace hpactl {

struct COutputOptions {
    // Export file per data kind; empty: none; "-": comma-separated on stdout.
    std::array<std::string, hpa::kDataKindCount> m_strExport;
    bool m_bSummary = false;
    // The desktop's accounting document (.hpa) of the decoded data; empty: none.
    std::string m_strSave;
    // Masks given on the command line; unset: the profile's.
    std::array<std::optional<std::string>, hpa::kDataKindCount> m_strMask;
};

// Help text of the options below, for the usage message.
const char* OutputOptionsHelp();

enum class OptionResult { NotMine, Taken, Error };

// Takes one option (and its value) at argv[*pnIndex] if it is an output or
// mask option, advancing *pnIndex past what it used. On Error the message is
// already on stderr.
OptionResult TakeOutputOption(int argc, char** argv, int* pnIndex, COutputOptions& options);

// The masks to decode with: the profile's (QSettings, as the desktop loads
// them), each replaced by the one given on the command line. A given mask
// that is unusable is refused with a message on stderr; returns false then.
bool ResolveMasks(const COutputOptions& options, hpa::CFieldMasks& masks);

// Writes one grid's export to strTarget ("-": comma-separated on stdout),
// as File > Export does. False (message on stderr) when it fails.
bool ExportGrid(hpa::CUGCtrl& grid, int nKind, const std::string& strTarget,
                const std::string& strDateFieldName);

// Writes the document, the exports and the summary asked for. Returns false (message on
// stderr) when an export file cannot be created or written.
bool WriteOutputs(const COutputOptions& options, hpa::CAcc& acc,
                  const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& grids);

} // namespace hpactl
