#pragma once
// The desktop program's command line:
//   hpa [--nosplash] [FILE.hpa]        open a document (a double-clicked file)
//   hpa --print FILE.hpa               print it without showing the window
//   hpa --help | --version
// Unknown options are collected for a warning and otherwise ignored, so a
// desktop that adds an option we do not know still opens the file.
#include <string>
#include <vector>

namespace hpa {

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint };

    // Parses the arguments after the program name.
    void Parse(const std::vector<std::string>& args);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    bool m_bShowSplash = true;
    bool m_bHelp = false;
    bool m_bVersion = false;
    // Options we do not know, and files beyond the first, for the warning.
    std::vector<std::string> m_unknownOptions;
    std::vector<std::string> m_ignoredFiles;

    // One line per ignored argument, "hpa: ..." (empty when none).
    std::vector<std::string> Warnings() const;
};

// The text of "hpa --help".
const char* CommandLineUsage();

} // namespace hpa
