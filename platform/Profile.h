#pragma once
// Persistent settings: string values in named sections (section "1.1").
// The desktop and hpactl use QSettings, tests an in-memory map.
#include <map>
#include <string>
#include <utility>

namespace hpa {

inline constexpr const char* kProfileSection = "1.1";

class CProfile {
public:
    virtual ~CProfile() = default;
    // The stored value, or strDefault when the value does not exist.
    virtual std::string GetString(const std::string& strSection, const std::string& strEntry,
                                  const std::string& strDefault = {}) const = 0;
    // Returns false when the value could not be written.
    virtual bool WriteString(const std::string& strSection, const std::string& strEntry,
                             const std::string& strValue) = 0;
};

// In-memory profile for tests and for runs that must not touch the user's
// settings.
class CMemoryProfile : public CProfile {
public:
    std::string GetString(const std::string& strSection, const std::string& strEntry,
                          const std::string& strDefault = {}) const override;
    bool WriteString(const std::string& strSection, const std::string& strEntry,
                     const std::string& strValue) override;
    bool Has(const std::string& strSection, const std::string& strEntry) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

} // namespace hpa
