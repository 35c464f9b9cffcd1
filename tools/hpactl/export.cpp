// hpactl export FILE.hpa --kind job|paper|status --output FILE: one grid of
// a saved accounting document as File > Export writes it after the
// document is opened (TAB-separated for a .txt name, else comma-separated;
// '-' writes to standard output).
#include "commands.h"
#include "outputs.h"

#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <string_view>

namespace hpactl {

namespace {

constexpr const char* kUsage =
    "hpactl export: usage: hpactl export FILE.hpa --kind job|paper|status --output FILE\n";

int KindOf(std::string_view strKind)
{
    if (strKind == "job")
        return hpa::kKindJob;
    if (strKind == "paper")
        return hpa::kKindPaper;
    if (strKind == "status")
        return hpa::kKindStatus;
    return -1;
}

// The document's three grids and accounting set, or false with the reason
// on stderr (the desktop's own messages for a file that is no document).
bool LoadDocumentFile(const std::string& strPath, std::array<hpa::CUGCtrl, 3>& grids,
                      hpa::CAcc& acc)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "hpactl export: cannot open %s\n", strPath.c_str());
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) {
        std::fprintf(stderr, "hpactl export: cannot read %s\n", strPath.c_str());
        return false;
    }
    try {
        hpa::LoadAccDocument(bytes.data(), bytes.size(),
                             {{&grids[0], &grids[1], &grids[2]}, &acc});
    } catch (const hpa::CArchiveException&) {
        std::fprintf(stderr, "Unexpected file format. (%s)\n", strPath.c_str());
        return false;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Failed to open document. (%s)\n", strPath.c_str());
        return false;
    }
    return true;
}

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
    const int nKind = KindOf(strKind);
    if (nKind < 0) {
        std::fprintf(stderr, "hpactl export: --kind is job, paper or status, not '%s'\n",
                     strKind.c_str());
        return kExitUsage;
    }

    std::array<hpa::CUGCtrl, 3> grids;
    hpa::CAcc acc;
    if (!LoadDocumentFile(strDocument, grids, acc))
        return kExitFailed;
    // A document holds no dictionary, so the date column is known only by
    // a name the set does not have: no date correction, as on the desktop
    // when a document is opened before any download.
    const std::string& strDateFieldName = acc.m_strFieldName[hpa::kFieldDate];
    return ExportGrid(grids[static_cast<std::size_t>(nKind)], nKind, strOutput, strDateFieldName)
               ? kExitOk
               : kExitFailed;
}

} // namespace hpactl
