#pragma once
// The export text of a grid: one line per grid row, cells separated by a
// comma or a TAB, lines ended by CR LF. Job and Paper grids start with their
// column headings; the Status grid has none. The Job grid's date column gets
// its first blank turned into '0' (the printer pads day and month with
// blanks, which spreadsheets do not read as dates).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace hpa {

class CUGCtrl;

inline constexpr const char* kMsgErrorCreatingExport = "Error creating export file.";

// TAB when the extension of the file name is "txt" in any letter case,
// otherwise a comma. Only the name decides, whatever filter was chosen.
char ExportSeparatorFor(std::string_view strPath);

// Receives the export bytes piece by piece; returns false on a write error,
// which stops the export.
using ExportSink = std::function<bool(std::string_view)>;

// Writes the export of the grid of data kind nKind (kKindJob, kKindPaper,
// kKindStatus). strDateFieldName is the dictionary name of field 3; the Job
// date column is the first column headed by it, and an empty name means no
// date column. A cell holding the separator, a double quote, CR or LF is
// written in double quotes with its quotes doubled; every other cell byte
// for byte. Returns false when the sink failed.
bool WriteExport(CUGCtrl& grid, int nKind, std::string_view strDateFieldName, char chSeparator,
                 const ExportSink& sink);

// The same export collected in a string.
std::string ExportToString(CUGCtrl& grid, int nKind, std::string_view strDateFieldName,
                           char chSeparator);

enum class ExportFileResult { Ok, CannotCreate, WriteFailed };

// Writes the export into the file through a temporary file beside it, so
// a failed export leaves an existing file as it was. CannotCreate is what
// the GUI reports as "Error creating export file.".
ExportFileResult ExportToFile(CUGCtrl& grid, int nKind, std::string_view strDateFieldName,
                              const std::filesystem::path& path, char chSeparator);

} // namespace hpa
