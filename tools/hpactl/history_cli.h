#pragma once
// What the history commands (collect, report, printers) share: opening the
// history named by --db, HPA_DB or the default file, and writing text to a
// file or standard output.
#include "history/HistoryStore.h"

#include <memory>
#include <string>
#include <string_view>

namespace hpactl {

// Exit status of collect when everything was stored but a printer needs
// attention (job file full or soon full, jobs lost).
inline constexpr int kExitAttention = 3;

// The history at --db (or HPA_DB, or the default file); null after a
// message on stderr prefixed with pszCommand.
std::unique_ptr<hpa::CHistoryStore> OpenHistory(const char* pszCommand, const std::string& strDb);

// Writes bytes to strPath ("" or "-": standard output); false after a
// message on stderr.
bool WriteText(const char* pszCommand, const std::string& strPath, std::string_view strText);

// A non-negative decimal integer option value.
bool ParseCount(std::string_view str, long& nValue);

} // namespace hpactl
