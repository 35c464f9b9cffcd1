#pragma once
// The one way the core tells the user something. The desktop shows a message
// box, hpactl prints to stderr, tests record. The core never shows UI itself.
#include <string>

namespace hpa {

enum class MessageIcon { Exclamation, Information, Question, Error };

enum class MessageAnswer { Ok, Yes, No, Cancel };

class CMessages {
public:
    virtual ~CMessages() = default;

    // Exclamation beep, then the text in a box with the exclamation icon and
    // an OK button. This is how every failure the user must see is reported.
    virtual void Exclamation(const std::string& strText) = 0;

    // A box with the given caption and icon and an OK button (no beep).
    virtual void Inform(const std::string& strText, const std::string& strCaption,
                        MessageIcon icon) = 0;

    // A Yes/No question with the question icon; headless sinks answer No.
    virtual MessageAnswer AskYesNo(const std::string& strText) = 0;
};

// Writes every message to stderr, one line each; questions are answered No.
class CStderrMessages : public CMessages {
public:
    void Exclamation(const std::string& strText) override;
    void Inform(const std::string& strText, const std::string& strCaption,
                MessageIcon icon) override;
    MessageAnswer AskYesNo(const std::string& strText) override;
};

} // namespace hpa
