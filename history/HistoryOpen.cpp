// Where the history is and which back-end serves it.
#include "history/HistoryStore.h"

#include <cstdlib>

namespace hpa {

std::string ResolveHistoryLocation(const std::string& strOption)
{
    if (!strOption.empty())
        return strOption;
    if (const char* pszEnv = std::getenv("HPA_DB"); pszEnv && *pszEnv)
        return pszEnv;
    std::string strData;
    if (const char* pszXdg = std::getenv("XDG_DATA_HOME"); pszXdg && *pszXdg == '/')
        strData = pszXdg;
    else if (const char* pszHome = std::getenv("HOME"); pszHome && *pszHome)
        strData = std::string(pszHome) + "/.local/share";
    else
        strData = ".";
    return strData + "/hpa/history.sqlite";
}

bool IsPostgresUri(std::string_view strLocation)
{
    return strLocation.starts_with("postgresql://") || strLocation.starts_with("postgres://");
}

std::unique_ptr<CHistoryStore> OpenHistoryStore(const std::string& strLocation,
                                                std::string& strError)
{
    if (IsPostgresUri(strLocation))
        return OpenPostgresHistory(strLocation, strError);
    return OpenSqliteHistory(strLocation, strError);
}

} // namespace hpa
