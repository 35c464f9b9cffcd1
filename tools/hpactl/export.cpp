// hpactl export FILE.hpa --kind job|paper|status --output FILE: one grid of
// a saved accounting document as File > Export writes it after the
// document is opened (TAB-separated for a .txt name, else comma-separated;
// '-' writes to standard output).
#include "commands.h"
#include "document.h"
#include "outputs.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace hpactl {

namespace {

constexpr const char* kUsage =
    "hpactl export: usage: hpactl export FILE.hpa --kind job|paper|status --output FILE\n";

} // namespace

int RunExport(int argc, char** argv)
{
    std::string strDocument;
    std::string strKind;
    std::string strOutput;
    for (int n = 0; n < argc; ++n) {
        const std::string_view strArg = argv[n];
        std::string* pValue = nullptr;
        if (strArg == "--kind")
            pValue = &strKind;
        else if (strArg == "--output")
            pValue = &strOutput;
        if (pValue) {
            if (n + 1 >= argc || argv[n + 1][0] == '\0') {
                std::fprintf(stderr, "hpactl export: %s needs a value\n", argv[n]);
                return kExitUsage;
            }
            *pValue = argv[++n];
        } else if (strArg.size() > 1 && strArg[0] == '-') {
            std::fprintf(stderr, "hpactl export: unknown option '%s'\n", argv[n]);
            return kExitUsage;
        } else if (!strDocument.empty()) {
            std::fprintf(stderr, "hpactl export: only one document, please ('%s')\n", argv[n]);
            return kExitUsage;
        } else {
            strDocument = strArg;
        }
    }
    if (strDocument.empty() || strKind.empty() || strOutput.empty()) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const int nKind = KindFromName(strKind);
    if (nKind < 0) {
        std::fprintf(stderr, "hpactl export: --kind is job, paper or status, not '%s'\n",
                     strKind.c_str());
        return kExitUsage;
    }

    auto pDocument = std::make_unique<CLoadedDocument>();
    if (!LoadDocumentFile("export", strDocument, *pDocument))
        return kExitFailed;
    const hpa::CAcc& acc = pDocument->m_acc;
    // A document holds no dictionary, so the date column is known only by
    // a name the set does not have: no date correction, as on the desktop
    // when a document is opened before any download.
    const std::string& strDateFieldName = acc.m_strFieldName[hpa::kFieldDate];
    return ExportGrid(pDocument->m_grids[static_cast<std::size_t>(nKind)], nKind, strOutput,
                      strDateFieldName)
               ? kExitOk
               : kExitFailed;
}

} // namespace hpactl
