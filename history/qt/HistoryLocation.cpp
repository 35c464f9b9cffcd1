#include "history/qt/HistoryLocation.h"

#include "history/HistoryStore.h"
#include "platform/Profile.h"

namespace hpa {

std::string ChosenHistoryLocation(const CProfile& profile)
{
    const std::string strKept = profile.GetString(kProfileHistorySection, kProfileHistoryDatabase);
    return strKept.empty() ? ResolveHistoryLocation({}) : strKept;
}

void KeepHistoryLocation(CProfile& profile, const std::string& strLocation)
{
    profile.WriteString(kProfileHistorySection, kProfileHistoryDatabase, strLocation);
}

} // namespace hpa
