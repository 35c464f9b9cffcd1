// Fleet file parsing: a line-by-line scan with one open section at a time.
// A section is checked for its required keys when the next one starts and
// at the end of the text, so errors come out in line order.
#include "history/FleetFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace hpa {
namespace {

constexpr std::size_t kMaxFleetFileBytes = 1024 * 1024;
// A password is one short line; the bound keeps a wrong path (a log file,
// a device) from being read whole.
constexpr std::size_t kMaxPasswordFileBytes = 64 * 1024;

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

std::string_view Trim(std::string_view str)
{
    while (!str.empty() && IsBlank(str.front()))
        str.remove_prefix(1);
    while (!str.empty() && IsBlank(str.back()))
        str.remove_suffix(1);
    return str;
}

// Names and values end up on terminals and in the history: control bytes
// (other than TAB) would let a fleet file forge output, so they are refused.
int FirstControlByte(std::string_view line)
{
    for (char ch : line) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte < 0x20 && ch != '\t') || byte == 0x7F)
            return byte;
    }
    return -1;
}

std::string Quoted(std::string_view str)
{
    std::string out = "\"";
    out += str;
    out += '"';
    return out;
}

// Reads at most nMax + 1 bytes of a regular file, so callers can tell a file
// that is too large from one that just fits. Empty message on success.
std::string ReadBounded(const std::string& strPath, std::size_t nMax, std::string& strBytes)
{
    strBytes.clear();
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string("cannot open: ") + std::strerror(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return "not a regular file";
    }
    char buffer[16384];
    while (strBytes.size() <= nMax) {
        const ssize_t nRead = ::read(fd, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0) {
            const int nErr = errno;
            ::close(fd);
            return std::string("cannot read: ") + std::strerror(nErr);
        }
        if (nRead == 0)
            break;
        strBytes.append(buffer, static_cast<std::size_t>(nRead));
    }
    ::close(fd);
    return {};
}

class CFleetParser {
public:
    CFleetParser(const std::string& strFileName, std::vector<CFleetPrinter>& printers,
                 CFleetError& error)
        : m_printers(printers), m_error(error)
    {
        m_error = CFleetError{};
        m_error.m_strFile = strFileName;
    }

    bool Parse(std::string_view text);

private:
    bool Fail(int nLine, std::string strMessage)
    {
        m_error.m_nLine = nLine;
        m_error.m_strMessage = std::move(strMessage);
        m_printers.clear();
        return false;
    }

    bool ParseLine(std::string_view line, int nLine);
    bool StartSection(std::string_view inside, int nLine);
    bool SetKey(std::string_view key, std::string_view value, int nLine);
    bool FinishSection();

    std::vector<CFleetPrinter>& m_printers;
    CFleetError& m_error;
    bool m_bInSection = false;
    // Keys seen in the open section, to refuse a second "host = ..." that
    // would otherwise silently win over the first.
    bool m_bHost = false, m_bUser = false, m_bPasswordFile = false, m_bAccount = false;
};

bool CFleetParser::Parse(std::string_view text)
{
    m_printers.clear();
    // An editor's UTF-8 byte order mark is not part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    int nLine = 0;
    while (!text.empty()) {
        ++nLine;
        const std::size_t nEnd = text.find('\n');
        std::string_view line = text.substr(0, nEnd);
        text.remove_prefix(nEnd == std::string_view::npos ? text.size() : nEnd + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!ParseLine(line, nLine))
            return false;
    }
    return FinishSection();
}

bool CFleetParser::ParseLine(std::string_view line, int nLine)
{
    const int nControl = FirstControlByte(line);
    if (nControl >= 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(nControl));
        return Fail(nLine, std::string("control character (byte ") + hex + ") in line");
    }
    line = Trim(line);
    if (line.empty() || line.front() == '#')
        return true;
    if (line.front() == '[') {
        if (line.back() != ']')
            return Fail(nLine, "malformed section header: missing \"]\"");
        return StartSection(line.substr(1, line.size() - 2), nLine);
    }
    const std::size_t nEq = line.find('=');
    if (nEq == std::string_view::npos || Trim(line.substr(0, nEq)).empty())
        return Fail(nLine, "malformed line: expected \"key = value\", \"[printer NAME]\" or "
                           "a # comment");
    return SetKey(Trim(line.substr(0, nEq)), Trim(line.substr(nEq + 1)), nLine);
}

bool CFleetParser::StartSection(std::string_view inside, int nLine)
{
    if (!FinishSection())
        return false;
    inside = Trim(inside);
    const std::string_view kind =
        inside.substr(0, std::min(inside.find_first_of(" \t"), inside.size()));
    if (kind != "printer")
        return Fail(nLine, "unknown section " + Quoted(kind) +
                               ": only [printer NAME] sections "
                               "are allowed");
    const std::string_view name = Trim(inside.substr(kind.size()));
    if (name.empty())
        return Fail(nLine, "empty printer name");
    for (const CFleetPrinter& other : m_printers) {
        if (other.m_strName == name)
            return Fail(nLine, "duplicate printer " + Quoted(name) + " (first on line " +
                                   std::to_string(other.m_nLine) + ")");
    }
    CFleetPrinter printer;
    printer.m_strName = std::string(name);
    printer.m_nLine = nLine;
    m_printers.push_back(std::move(printer));
    m_bInSection = true;
    m_bHost = m_bUser = m_bPasswordFile = m_bAccount = false;
    return true;
}

bool CFleetParser::SetKey(std::string_view key, std::string_view value, int nLine)
{
    struct Key {
        std::string_view name;
        std::string CFleetPrinter::*member;
        bool CFleetParser::*seen;
        bool bRequired;
    };
    static const Key keys[] = {
        {"host", &CFleetPrinter::m_strHost, &CFleetParser::m_bHost, true},
        {"user", &CFleetPrinter::m_strUser, &CFleetParser::m_bUser, true},
        {"password-file", &CFleetPrinter::m_strPasswordFile, &CFleetParser::m_bPasswordFile, true},
        {"account", &CFleetPrinter::m_strAccount, &CFleetParser::m_bAccount, false},
    };
    const Key* pKey = nullptr;
    for (const Key& k : keys) {
        if (k.name == key)
            pKey = &k;
    }
    if (pKey == nullptr)
        return Fail(nLine, "unknown key " + Quoted(key));
    if (!m_bInSection)
        return Fail(nLine, "key " + Quoted(key) + " outside a [printer NAME] section");
    if (this->*pKey->seen)
        return Fail(nLine, "duplicate key " + Quoted(key));
    if (value.empty() && pKey->bRequired)
        return Fail(nLine, "empty value for " + Quoted(key));
    this->*pKey->seen = true;
    m_printers.back().*pKey->member = std::string(value);
    return true;
}

bool CFleetParser::FinishSection()
{
    if (!m_bInSection)
        return true;
    m_bInSection = false;
    const CFleetPrinter& printer = m_printers.back();
    const char* pszMissing = !m_bHost           ? "host"
                             : !m_bUser         ? "user"
                             : !m_bPasswordFile ? "password-file"
                                                : nullptr;
    if (pszMissing != nullptr)
        return Fail(printer.m_nLine, "printer " + Quoted(printer.m_strName) + " has no " +
                                         Quoted(pszMissing) + " key");
    return true;
}

} // namespace

std::string FormatFleetError(const CFleetError& error)
{
    std::string str = error.m_strFile;
    if (error.m_nLine > 0)
        str += ":" + std::to_string(error.m_nLine);
    return str + ": " + error.m_strMessage;
}

bool ParseFleetText(std::string_view text, const std::string& strFileName,
                    std::vector<CFleetPrinter>& printers, CFleetError& error)
{
    return CFleetParser(strFileName, printers, error).Parse(text);
}

bool ReadFleetFile(const std::string& strPath, std::vector<CFleetPrinter>& printers,
                   CFleetError& error)
{
    printers.clear();
    std::string strText;
    std::string strProblem = ReadBounded(strPath, kMaxFleetFileBytes, strText);
    if (strProblem.empty() && strText.size() > kMaxFleetFileBytes)
        strProblem = "larger than 1 MiB; not a fleet file";
    if (!strProblem.empty()) {
        error = CFleetError{strPath, 0, strProblem};
        return false;
    }
    return ParseFleetText(strText, strPath, printers, error);
}

bool ReadPasswordFile(const std::string& strPath, std::string& strPassword)
{
    strPassword.clear();
    std::string strBytes;
    if (!ReadBounded(strPath, kMaxPasswordFileBytes, strBytes).empty())
        return false;
    std::size_t nEnd = strBytes.find('\n');
    if (nEnd == std::string::npos) {
        // A first line longer than the bound is not a password.
        if (strBytes.size() > kMaxPasswordFileBytes)
            return false;
        nEnd = strBytes.size();
    }
    if (nEnd > 0 && strBytes[nEnd - 1] == '\r')
        --nEnd;
    strPassword = strBytes.substr(0, nEnd);
    return true;
}

} // namespace hpa
