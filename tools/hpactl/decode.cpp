// hpactl decode DIR: decodes accounting files already on disk ("STA.tmp",
// "DIC.tmp", "PAP.tmp", "JOB.tmp" in DIR) exactly as a download does, then
// writes what the options ask for.
#include "commands.h"
#include "outputs.h"
#include "save.h"

#include "accounting/Acc.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hpactl {

int RunDecode(int argc, char** argv)
{
    COutputOptions options;
    std::string strDir;
    for (int n = 0; n < argc;) {
        switch (TakeOutputOption(argc, argv, &n, options)) {
        case OptionResult::Taken:
            continue;
        case OptionResult::Error:
            return kExitUsage;
        case OptionResult::NotMine:
            break;
        }
        const std::string_view strArg = argv[n];
        if (strArg.size() > 1 && strArg[0] == '-') {
            std::fprintf(stderr, "hpactl decode: unknown option '%s'\n", argv[n]);
            return kExitUsage;
        }
        if (!strDir.empty()) {
            std::fprintf(stderr, "hpactl decode: only one directory, please ('%s')\n", argv[n]);
            return kExitUsage;
        }
        strDir = strArg;
        ++n;
    }
    if (strDir.empty()) {
        std::fprintf(stderr, "hpactl decode: which directory? (hpactl decode DIR [OPTIONS])\n");
        return kExitUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(strDir, ec)) {
        std::fprintf(stderr, "hpactl decode: %s is not a directory\n", strDir.c_str());
        return kExitUsage;
    }

    if (!ResolveMasks(options, hpa::g_masks))
        return kExitUsage;

    hpa::CUGCtrl jobGrid;
    hpa::CUGCtrl paperGrid;
    hpa::CUGCtrl statusGrid;
    const std::array<hpa::CUGCtrl*, hpa::kDataKindCount> grids = {&jobGrid, &paperGrid,
                                                                  &statusGrid};
    hpa::CStderrMessages messages;
    hpa::CAccBinding binding;
    binding.m_pathWorkDir = strDir;
    binding.m_pGrids = grids;
    binding.m_pMasks = &hpa::g_masks;
    binding.m_pMessages = &messages;
    hpa::CAcc& acc = hpa::g_acc;
    acc.Bind(binding);
    // A saved document carries the column widths; fit them as the desktop would.
    std::optional<CDesktopMeasuring> measuring;
    if (!options.m_strSave.empty())
        measuring.emplace(grids);

    // The order of a download: the status file first, checked before anything
    // else; then the dictionary, and only when it reads, the three grids.
    if (!acc.ReadStatusFile())
        return kExitFailed;
    if (acc.IndicatesInvalidInitialization()) {
        messages.Exclamation(hpa::kMsgInvalidInitialization);
        return kExitFailed;
    }
    if (!acc.ReadDictionaryFile())
        return kExitFailed;
    acc.FillStatusGrid();
    acc.ReadPaperFile();
    acc.ReadJobFile();

    return WriteOutputs(options, acc, grids) ? kExitOk : kExitFailed;
}

} // namespace hpactl
