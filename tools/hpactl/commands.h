#pragma once
// The commands of hpactl. Each lives in its own file and is listed once in
// the table in main.cpp.
namespace hpactl {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the work failed; the reason is on stderr
inline constexpr int kExitUsage = 2;  // bad command line; nothing was done

// Each command gets the arguments after its name.
using CommandFn = int (*)(int argc, char** argv);

struct CCommand {
    const char* m_pszName;
    const char* m_pszSynopsis; // arguments, shown in the help
    const char* m_pszSummary;  // one line
    CommandFn m_pfnRun;
};

int RunCollect(int argc, char** argv);
int RunDecode(int argc, char** argv);
int RunExport(int argc, char** argv);
int RunFetch(int argc, char** argv);
int RunPrint(int argc, char** argv);
int RunPrinters(int argc, char** argv);
int RunReport(int argc, char** argv);
int RunSummary(int argc, char** argv);

} // namespace hpactl
