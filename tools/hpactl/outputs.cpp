#include "outputs.h"

#include "accounting/Acc.h"
#include "commands.h"
#include "platform/qt/QtProfile.h"
#include "save.h"
#include "view/ExportWriter.h"
#include "view/SummaryRows.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace hpactl {

namespace {

struct COptionName {
    const char* m_pszName;
    int m_nKind;
    bool m_bMask; // a mask option, else an export option
};

constexpr COptionName kValueOptions[] = {
    {"--export-job", hpa::kKindJob, false},       {"--export-paper", hpa::kKindPaper, false},
    {"--export-status", hpa::kKindStatus, false}, {"--job-mask", hpa::kKindJob, true},
    {"--paper-mask", hpa::kKindPaper, true},      {"--status-mask", hpa::kKindStatus, true},
};
constexpr const char* kSaveOption = "--save";

bool WriteToStdout(std::string_view str)
{
    return std::fwrite(str.data(), 1, str.size(), stdout) == str.size();
}

} // namespace

bool ExportGrid(hpa::CUGCtrl& grid, int nKind, const std::string& strTarget,
                const std::string& strDateFieldName)
{
    if (strTarget == "-") {
        if (!hpa::WriteExport(grid, nKind, strDateFieldName, ',', WriteToStdout)) {
            std::fprintf(stderr, "hpactl: writing to standard output failed\n");
            return false;
        }
        return true;
    }
    switch (hpa::ExportToFile(grid, nKind, strDateFieldName, strTarget,
                              hpa::ExportSeparatorFor(strTarget))) {
    case hpa::ExportFileResult::Ok:
        return true;
    case hpa::ExportFileResult::CannotCreate:
        std::fprintf(stderr, "%s (%s)\n", hpa::kMsgErrorCreatingExport, strTarget.c_str());
        return false;
    case hpa::ExportFileResult::WriteFailed:
        std::fprintf(stderr, "hpactl: writing %s failed\n", strTarget.c_str());
        return false;
    }
    return false;
}

const char* OutputOptionsHelp()
{
    return "Output options:\n"
           "  --export-job FILE     write the Job grid to FILE\n"
           "  --export-paper FILE   write the Paper grid to FILE\n"
           "  --export-status FILE  write the Status grid to FILE\n"
           "                        (TAB-separated when FILE ends in .txt, else comma-separated;\n"
           "                        '-' writes comma-separated text to standard output)\n"
           "  --summary             print the accounting summary, one 'label<TAB>value' per line\n"
           "  --save FILE.hpa       save the data as an accounting document for the desktop\n"
           "Field options (default: the masks saved by the desktop program):\n"
           "  --job-mask BITS       27 characters of 0/1; positions 22-24 (Color ink) equal,\n"
           "                        positions 25-26 (Index count/index) equal\n"
           "  --paper-mask BITS     6 characters of 0/1\n"
           "  --status-mask BITS    17 characters of 0/1\n";
}

namespace {

// "--name VALUE" or "--name=VALUE"; an empty value is an error.
OptionResult TakeValue(int argc, char** argv, int* pnIndex, const char* pszName,
                       std::string& strValue)
{
    const std::string_view strArg = argv[*pnIndex];
    const std::size_t nLen = std::strlen(pszName);
    if (strArg.substr(0, nLen) != pszName)
        return OptionResult::NotMine;
    if (strArg.size() == nLen) {
        if (*pnIndex + 1 >= argc) {
            std::fprintf(stderr, "hpactl: %s needs a value\n", pszName);
            return OptionResult::Error;
        }
        strValue = argv[*pnIndex + 1];
        *pnIndex += 2;
    } else if (strArg[nLen] == '=') {
        strValue = std::string(strArg.substr(nLen + 1));
        *pnIndex += 1;
    } else {
        return OptionResult::NotMine;
    }
    if (strValue.empty()) {
        std::fprintf(stderr, "hpactl: %s needs a value\n", pszName);
        return OptionResult::Error;
    }
    return OptionResult::Taken;
}

} // namespace

OptionResult TakeOutputOption(int argc, char** argv, int* pnIndex, COutputOptions& options)
{
    const std::string_view strArg = argv[*pnIndex];
    if (strArg == "--summary") {
        options.m_bSummary = true;
        ++*pnIndex;
        return OptionResult::Taken;
    }
    if (const OptionResult result = TakeValue(argc, argv, pnIndex, kSaveOption, options.m_strSave);
        result != OptionResult::NotMine)
        return result;
    for (const COptionName& option : kValueOptions) {
        std::string strValue;
        switch (TakeValue(argc, argv, pnIndex, option.m_pszName, strValue)) {
        case OptionResult::NotMine:
            continue;
        case OptionResult::Error:
            return OptionResult::Error;
        case OptionResult::Taken:
            break;
        }
        const auto nKind = static_cast<std::size_t>(option.m_nKind);
        if (option.m_bMask)
            options.m_strMask[nKind] = strValue;
        else
            options.m_strExport[nKind] = strValue;
        return OptionResult::Taken;
    }
    return OptionResult::NotMine;
}

bool ResolveMasks(const COutputOptions& options, hpa::CFieldMasks& masks)
{
    hpa::CQtProfile profile;
    hpa::LoadFieldMasks(profile, masks);
    static constexpr const char* kOption[] = {"--job-mask", "--paper-mask", "--status-mask"};
    for (int nKind = 0; nKind < hpa::kDataKindCount; ++nKind) {
        const auto& strGiven = options.m_strMask[static_cast<std::size_t>(nKind)];
        if (!strGiven)
            continue;
        if (const char* pszProblem = hpa::MaskProblem(nKind, *strGiven)) {
            std::fprintf(
                stderr, "hpactl: %s %s refused: %s (expected %d characters of '0' and '1'%s)\n",
                kOption[nKind], strGiven->c_str(), pszProblem,
                hpa::kMaskLength[static_cast<std::size_t>(nKind)],
                nKind == hpa::kKindJob ? ", positions 22-24 equal and positions 25-26 equal" : "");
            return false;
        }
        masks.Mask(nKind) = *strGiven;
    }
    masks.Recount();
    return true;
}

bool WriteOutputs(const COutputOptions& options, hpa::CAcc& acc,
                  const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& grids)
{
    const std::string& strDateFieldName = acc.m_strFieldName[hpa::kFieldDate];
    bool bOk = options.m_strSave.empty() || SaveDocument(options.m_strSave, acc, grids);
    for (int nKind = 0; nKind < hpa::kDataKindCount; ++nKind) {
        const std::string& strTarget = options.m_strExport[static_cast<std::size_t>(nKind)];
        if (!strTarget.empty())
            bOk = ExportGrid(*grids[static_cast<std::size_t>(nKind)], nKind, strTarget,
                             strDateFieldName) &&
                  bOk;
    }
    if (options.m_bSummary) {
        for (const hpa::CSummaryRow& row : hpa::SummaryRows(acc))
            std::printf("%s\t%s\n", row.m_pszLabel, row.m_strValue.c_str());
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "hpactl: writing to standard output failed\n");
        bOk = false;
    }
    return bOk;
}

} // namespace hpactl
