#include "RemoteTree.h"

#include <vector>

namespace hpa::sim {

namespace {

constexpr std::string_view kVolume = "SYS:";
constexpr std::string_view kAdminDir = "admin";
constexpr std::size_t kMaxComponents = 16;

// Splits a joined path into components, applying "." and "..". The volume,
// when present, must be the first component. Nothing on a malformed path.
std::optional<std::vector<std::string>> Components(std::string_view strPath)
{
    while (strPath.starts_with('/'))
        strPath.remove_prefix(1);
    std::vector<std::string> comps;
    std::size_t nPos = 0;
    while (nPos <= strPath.size()) {
        std::size_t nSlash = strPath.find('/', nPos);
        if (nSlash == std::string_view::npos)
            nSlash = strPath.size();
        std::string_view comp = strPath.substr(nPos, nSlash - nPos);
        nPos = nSlash + 1;
        if (comp.empty() || comp == ".")
            continue;
        if (comp == "..") {
            if (!comps.empty())
                comps.pop_back();
            continue;
        }
        if (comp.find(':') != std::string_view::npos && !comps.empty())
            return std::nullopt;
        if (comps.size() >= kMaxComponents)
            return std::nullopt;
        comps.emplace_back(comp);
    }
    return comps;
}

std::string Join(const std::string& strCwd, std::string_view strArg)
{
    std::size_t nSlash = strArg.find('/');
    std::size_t nColon = strArg.find(':');
    bool bAbsolute =
        strArg.starts_with('/') || (nColon != std::string_view::npos && nColon < nSlash);
    if (bAbsolute)
        return std::string(strArg);
    return strCwd + "/" + std::string(strArg);
}

std::string Canonical(const std::vector<std::string>& comps)
{
    if (comps.empty())
        return "/";
    std::string str = comps[0] + "/";
    for (std::size_t i = 1; i < comps.size(); ++i)
        str += (i > 1 ? "/" : "") + comps[i];
    return str;
}

bool IsDirectory(const std::vector<std::string>& comps)
{
    return comps.empty() || (comps[0] == kVolume && comps.size() == 1) ||
           (comps[0] == kVolume && comps.size() == 2 && comps[1] == kAdminDir);
}

} // namespace

bool CRemoteTree::IsServedName(std::string_view strName)
{
    if (strName == "acc.sta" || strName == "acc.dic" || strName == "acc.pap")
        return true;
    if (!strName.starts_with("acc") || !strName.ends_with(".job"))
        return false;
    std::string_view strNumber = strName.substr(3, strName.size() - 7);
    if (strNumber.empty() || strNumber.size() > 6 || strNumber[0] == '0')
        return false;
    for (char ch : strNumber)
        if (ch < '0' || ch > '9')
            return false;
    return true;
}

std::optional<std::string> CRemoteTree::ChangeDir(const std::string& strCwd,
                                                  std::string_view strArg) const
{
    auto comps = Components(Join(strCwd, strArg));
    if (!comps || !IsDirectory(*comps))
        return std::nullopt;
    return Canonical(*comps);
}

bool CRemoteTree::ResolveFile(const std::string& strCwd, std::string_view strArg,
                              std::string& strRemote, std::string& strLocalName) const
{
    auto comps = Components(Join(strCwd, strArg));
    if (!comps || comps->size() != 3 || (*comps)[0] != kVolume || (*comps)[1] != kAdminDir ||
        !IsServedName((*comps)[2]))
        return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(LocalPath((*comps)[2]), ec))
        return false;
    strRemote = Canonical(*comps);
    strLocalName = (*comps)[2];
    return true;
}

} // namespace hpa::sim
