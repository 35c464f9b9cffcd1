// hpactl decode DIR: decodes accounting files already on disk ("STA.tmp",
// "DIC.tmp", "PAP.tmp", "JOB.tmp" in DIR) exactly as a download does, then
// writes what the options ask for.
#include "accounts.h"
#include "commands.h"
#include "outputs.h"

#include "accounting/Acc.h"
#include "transfer/AccDecoder.h"
#include "transfer/DownloadSession.h"

#include <cstdio>
#include <filesystem>
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

    CDecodeTarget target(strDir, options);
    hpa::CAccDecoder decoder(target.Acc());
    // A paper or job reader that fails has said so; what was decoded is
    // still written.
    if (!hpa::HasDecodedData(hpa::DecodeWorkingFiles(decoder, target.Messages())))
        return kExitFailed;

    return WriteOutputs(options, target.Acc(), target.Grids()) ? kExitOk : kExitFailed;
}

} // namespace hpactl
