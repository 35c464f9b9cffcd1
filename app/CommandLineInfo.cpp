#include "app/CommandLineInfo.h"

namespace hpa {

namespace {

void SetFile(CCommandLineInfo& info, const std::string& strFile,
             CCommandLineInfo::ShellCommand nCommand)
{
    if (info.m_strFileName.empty()) {
        info.m_strFileName = strFile;
        info.m_nShellCommand = nCommand;
    } else if (nCommand == CCommandLineInfo::FilePrint &&
               info.m_nShellCommand == CCommandLineInfo::FileOpen) {
        // "hpa a.hpa --print b.hpa": printing wins, the plain file is extra.
        info.m_ignoredFiles.push_back(info.m_strFileName);
        info.m_strFileName = strFile;
        info.m_nShellCommand = nCommand;
    } else {
        info.m_ignoredFiles.push_back(strFile);
    }
}

} // namespace

void CCommandLineInfo::Parse(const std::vector<std::string>& args)
{
    bool bOptionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool bOption = !bOptionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!bOption) {
            SetFile(*this, arg, FileOpen);
        } else if (arg == "--") {
            bOptionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            m_bHelp = true;
        } else if (arg == "--version") {
            m_bVersion = true;
        } else if (arg == "--nosplash") {
            m_bShowSplash = false;
        } else if (arg == "--print" && i + 1 < args.size()) {
            SetFile(*this, args[++i], FilePrint);
        } else if (arg.rfind("--print=", 0) == 0 && arg.size() > 8) {
            SetFile(*this, arg.substr(8), FilePrint);
        } else {
            m_unknownOptions.push_back(arg);
        }
    }
    // Printing runs without a window, so there is nothing to splash.
    if (m_nShellCommand == FilePrint)
        m_bShowSplash = false;
}

std::vector<std::string> CCommandLineInfo::Warnings() const
{
    std::vector<std::string> lines;
    for (const auto& option : m_unknownOptions)
        lines.push_back(option == "--print" ? "hpa: --print needs a file name; ignored"
                                            : "hpa: unknown option '" + option + "' ignored");
    for (const auto& file : m_ignoredFiles)
        lines.push_back("hpa: only one document opens at a time; '" + file + "' ignored");
    return lines;
}

const char* CommandLineUsage()
{
    return "Usage: hpa [--nosplash] [FILE.hpa]\n"
           "       hpa --print FILE.hpa\n"
           "Halyard Printer Auditor: download, show, print and export the job\n"
           "accounting kept by network printers.\n\n"
           "  FILE.hpa         open this accounting document\n"
           "  --print FILE     print the document on the current printer and exit\n"
           "  --nosplash       do not show the start-up bitmap\n"
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n\n"
           "Only one HPA runs per user: starting it again brings the running\n"
           "window to the front.\n";
}

} // namespace hpa
