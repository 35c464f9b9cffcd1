#pragma once
// The history database the desktop works with: the one last chosen, in the
// History window's "Open Database..." or in Add to History..., kept in the
// settings so that both places and the next start agree; else HPA_DB or the
// default file in the user's data folder.
#include <string>

namespace hpa {

class CProfile;

inline constexpr const char* kProfileHistorySection = "History";
inline constexpr const char* kProfileHistoryDatabase = "Database";

// The kept choice, else the default location.
std::string ChosenHistoryLocation(const CProfile& profile);
// Keeps strLocation (a SQLite file or a PostgreSQL URI) as the choice.
void KeepHistoryLocation(CProfile& profile, const std::string& strLocation);

} // namespace hpa
