// hpactl: the headless tool for unattended collection and conversion.
#include "commands.h"
#include "hpa_version.h"
#include "outputs.h"
#include "platform/HugePageHeap.h"

#include <cstdio>
#include <cstring>

namespace hpactl {
namespace {

// One line per command; its code lives in a file of its own.
constexpr CCommand kCommands[] = {
    {"decode", "DIR [OPTIONS]", "decode STA.tmp, DIC.tmp, PAP.tmp and JOB.tmp already in DIR",
     RunDecode},
    {"fetch", "HOST[:PORT] --user NAME (--password PW | --password-file FILE) [OPTIONS]",
     "download a printer's files and decode them (--workdir DIR keeps them, --quiet)", RunFetch},
    {"export", "FILE.hpa --kind job|paper|status --output FILE",
     "one grid of a saved document as comma- or TAB-separated text ('-': standard output)",
     RunExport},
    {"print", "FILE.hpa --kind job|paper|status --pdf OUT.pdf [--page-size A4|Letter]",
     "the printed pages of one grid of a saved document, as a PDF file", RunPrint},
    {"summary", "FILE.hpa [--pdf OUT.pdf] [--page-size A4|Letter]",
     "the accounting summary of a saved document ('label<TAB>value' lines, or the printed table)",
     RunSummary},
    {"collect",
     "[--db DB] [--name NAME] HOST[:PORT] --user U (--password P | --password-file F) "
     "[--account A] | --fleet FILE [--parallel N]",
     "download printers into the history (--warn-days N: exit 3 when a job file is full within "
     "N days, default 7)",
     RunCollect},
    {"report",
     "[--db DB] --by user|printer|host|day|month [--printer NAME]... [--since YYYY-MM-DD] "
     "[--until YYYY-MM-DD] [--format table|csv|tsv|json|pdf] [--output FILE]",
     "jobs, sheets, jams and print time from the history", RunReport},
    {"printers", "[--db DB] [--format table|csv|tsv|json]",
     "the printers of the history: last collection, jobs held, job file use, lost jobs",
     RunPrinters},
};

void PrintHelp()
{
    std::printf("Usage: hpactl COMMAND [ARGUMENTS]\n"
                "Headless companion of the Halyard Printer Auditor.\n\n"
                "Commands:\n");
    for (const CCommand& command : kCommands)
        std::printf("  %s %s\n      %s\n", command.m_pszName, command.m_pszSynopsis,
                    command.m_pszSummary);
    std::printf("\n%s\n", OutputOptionsHelp());
    std::printf("Options:\n"
                "  --help       show this help and exit\n"
                "  --version    show the version and exit\n\n"
                "Exit status: 0 done, 1 failed (the reason is on standard error),\n"
                "2 bad command line.\n");
}

// "hpactl COMMAND --help": that command's line of the table. The commands
// that download or decode take the output and field options as well.
void PrintCommandHelp(const CCommand& command)
{
    std::printf("Usage: hpactl %s %s\n  %s\n", command.m_pszName, command.m_pszSynopsis,
                command.m_pszSummary);
    if (command.m_pfnRun == RunFetch || command.m_pfnRun == RunDecode)
        std::printf("\n%s", OutputOptionsHelp());
    std::printf("\nSee hpactl --help for every command, man hpactl for the details.\n");
}

} // namespace
} // namespace hpactl

int main(int argc, char** argv)
{
    using namespace hpactl;
    if (argc < 2) {
        PrintHelp();
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintHelp();
        return kExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("hpactl %s\n", HPA_VERSION_STRING);
        return kExitOk;
    }
    for (const CCommand& command : kCommands) {
        if (std::strcmp(argv[1], command.m_pszName) != 0)
            continue;
        // Only right after the command name: further on, "-h" could be the
        // value of an option (a password, a file name).
        if (argc > 2 && (std::strcmp(argv[2], "--help") == 0 || std::strcmp(argv[2], "-h") == 0)) {
            PrintCommandHelp(command);
            return kExitOk;
        }
        hpa::RestartWithHugePageHeap(argv);
        return command.m_pfnRun(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "hpactl: unknown command '%s' (try hpactl --help)\n", argv[1]);
    return kExitUsage;
}
