#include "support/RecordingMessages.h"

namespace hpa::test {

void CRecordingMessages::Exclamation(const std::string& strText)
{
    m_messages.push_back({"exclamation", strText, "HPA", MessageIcon::Exclamation});
}

void CRecordingMessages::Inform(const std::string& strText, const std::string& strCaption,
                                MessageIcon icon)
{
    m_messages.push_back({"inform", strText, strCaption, icon});
}

MessageAnswer CRecordingMessages::AskYesNo(const std::string& strText)
{
    m_messages.push_back({"question", strText, "HPA", MessageIcon::Question});
    return m_answer;
}

std::vector<std::string> CRecordingMessages::Exclamations() const
{
    std::vector<std::string> result;
    for (const auto& m : m_messages)
        if (m.strKind == "exclamation")
            result.push_back(m.strText);
    return result;
}

} // namespace hpa::test
