#pragma once
// The fleet file: the printers one collector run visits, as INI sections
//
//     # comment
//     [printer NAME]
//     host = HOST[:PORT]
//     user = USER
//     password-file = PATH
//     account = ACCOUNT        (optional)
//
// Keys and values are trimmed; comments are whole lines. Anything else is an
// error naming the file and line, so a typo never silently drops a printer.
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

struct CFleetPrinter {
    std::string m_strName; // from "[printer NAME]"
    std::string m_strHost; // "HOST[:PORT]" as written
    std::string m_strUser;
    std::string
        m_strPasswordFile; // path as written (relative paths: relative to the fleet file's folder)
    std::string m_strAccount; // empty when absent
    int m_nLine = 0;          // line of the section header
};

struct CFleetError {
    std::string m_strFile;
    int m_nLine = 0; // 0 when the file could not be read at all
    std::string m_strMessage;
};

// "FILE:LINE: message" (or "FILE: message" when m_nLine is 0)
std::string FormatFleetError(const CFleetError& error);

// Parses fleet text; false and the first error on anything it does not
// understand. On failure the printers list is left empty.
bool ParseFleetText(std::string_view text, const std::string& strFileName,
                    std::vector<CFleetPrinter>& printers, CFleetError& error);

// Reads and parses a file (bounded: refuses files over 1 MiB).
bool ReadFleetFile(const std::string& strPath, std::vector<CFleetPrinter>& printers,
                   CFleetError& error);

// Reads a password file: its first line, without the line end; false when
// unreadable.
bool ReadPasswordFile(const std::string& strPath, std::string& strPassword);

} // namespace hpa
