#pragma once
// The printer's file names as its FTP server shows them.
//
// The accounting files live in the directory "SYS:/admin" of the volume
// "SYS:": acc.sta, acc.dic, acc.pap and acc1.job, acc2.job … They map to
// files of the same name in the served directory. Names are taken absolute
// ("SYS:/admin/acc.sta", also with a leading "/") or relative to the
// session's current directory, so a client may RETR the full name at once or
// CWD down step by step ("SYS:", then "admin") as URL clients do.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hpa::sim {

class CRemoteTree {
public:
    explicit CRemoteTree(std::filesystem::path root) : m_root(std::move(root)) {}

    // The directory reached by CWD strArg from strCwd, or nothing when it is
    // not one of "/", "SYS:/" and "SYS:/admin".
    std::optional<std::string> ChangeDir(const std::string& strCwd, std::string_view strArg) const;

    // Resolves a file name. True when it names a served file that exists;
    // strRemote gets its full remote name and strLocalName its name in the
    // served directory.
    bool ResolveFile(const std::string& strCwd, std::string_view strArg, std::string& strRemote,
                     std::string& strLocalName) const;

    std::filesystem::path LocalPath(const std::string& strLocalName) const
    {
        return m_root / strLocalName;
    }

    // True for acc.sta, acc.dic, acc.pap and accN.job (N from 1, no leading 0).
    static bool IsServedName(std::string_view strName);

private:
    std::filesystem::path m_root;
};

} // namespace hpa::sim
