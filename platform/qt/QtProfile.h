#pragma once
// Settings in QSettings("HPA", "HPA"): ~/.config/HPA/HPA.conf, one group per
// section; value names such as "JobMask" and "HostName00".
#include "platform/Profile.h"

namespace hpa {

class CQtProfile : public CProfile {
public:
    std::string GetString(const std::string& strSection, const std::string& strEntry,
                          const std::string& strDefault = {}) const override;
    bool WriteString(const std::string& strSection, const std::string& strEntry,
                     const std::string& strValue) override;
};

} // namespace hpa
