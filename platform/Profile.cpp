#include "platform/Profile.h"

namespace hpa {

std::string CMemoryProfile::GetString(const std::string& strSection, const std::string& strEntry,
                                      const std::string& strDefault) const
{
    auto it = m_values.find({strSection, strEntry});
    return it == m_values.end() ? strDefault : it->second;
}

bool CMemoryProfile::WriteString(const std::string& strSection, const std::string& strEntry,
                                 const std::string& strValue)
{
    m_values[{strSection, strEntry}] = strValue;
    return true;
}

bool CMemoryProfile::Has(const std::string& strSection, const std::string& strEntry) const
{
    return m_values.count({strSection, strEntry}) != 0;
}

} // namespace hpa
