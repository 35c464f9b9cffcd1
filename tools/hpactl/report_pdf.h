#pragma once
// The history report as a printed PDF: a page header with the period and
// the printers, a bar chart of total sheets by key (the 20 largest) and the
// table, drawn with QPainter on a QPdfWriter (no widgets).
#include "history/HistoryReport.h"

#include <string>

namespace hpactl {

// Writes the PDF through a temporary file beside strPath; false after a
// message on stderr.
bool WriteReportPdf(const hpa::CReport& report, const std::string& strPath);

} // namespace hpactl
