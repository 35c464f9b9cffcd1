#pragma once
// A message sink that remembers every message, for tests to assert on.
#include "platform/Messages.h"

#include <string>
#include <vector>

namespace hpa::test {

struct RecordedMessage {
    std::string strKind; // "exclamation", "inform" or "question"
    std::string strText;
    std::string strCaption;
    MessageIcon icon = MessageIcon::Exclamation;
};

class CRecordingMessages : public CMessages {
public:
    void Exclamation(const std::string& strText) override;
    void Inform(const std::string& strText, const std::string& strCaption,
                MessageIcon icon) override;
    MessageAnswer AskYesNo(const std::string& strText) override;

    std::vector<RecordedMessage> m_messages;
    MessageAnswer m_answer = MessageAnswer::No; // what AskYesNo answers

    // Texts of all exclamations, in order.
    std::vector<std::string> Exclamations() const;
};

} // namespace hpa::test
