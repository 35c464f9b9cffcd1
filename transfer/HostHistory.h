#pragma once
// The printers the user connected to, most recent first: the drop-down of
// the Connect to Printer dialog. At most ten names, no two equal (compared
// exactly, case included). Kept in the profile as "HostName00" to
// "HostName09" in section "1.1", entry 0 the most recent.
#include <cstddef>
#include <string>
#include <vector>

namespace hpa {

class CProfile;

class CHostHistory {
public:
    static constexpr std::size_t kMaxEntries = 10;

    const std::vector<std::string>& Entries() const { return m_entries; }
    std::size_t Count() const { return m_entries.size(); }
    bool IsEmpty() const { return m_entries.empty(); }
    // Entry 0, the host of the coming download; empty when there is none.
    std::string Front() const { return m_entries.empty() ? std::string() : m_entries.front(); }

    // Puts a host at the top: an equal entry moves up from where it was;
    // a new one pushes the oldest out when the list is full. An empty name
    // is not a host and changes nothing.
    void Use(const std::string& strHost);
    void Clear() { m_entries.clear(); }

    // Reads HostName00 upwards and stops at the first empty or missing
    // value; the list holds what was read before it. A name stored twice is
    // taken once, at its first position.
    void Load(const CProfile& profile);
    // Writes every entry at its position. Values beyond the list's length
    // are left as they are. False when a value could not be written.
    bool Save(CProfile& profile) const;

    // "HostName%02d".
    static std::string ValueName(std::size_t nPosition);

private:
    std::vector<std::string> m_entries;
};

// The history of the program, loaded at start-up.
extern CHostHistory g_hostHistory;

} // namespace hpa
