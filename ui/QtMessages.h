#pragma once
// Messages for the desktop: the exclamation beep and a modal message box.
#include "platform/Messages.h"

class QWidget;

namespace hpa {

class CQtMessages : public CMessages {
public:
    // Boxes are parented to the active window when there is one.
    void Exclamation(const std::string& strText) override;
    void Inform(const std::string& strText, const std::string& strCaption,
                MessageIcon icon) override;
    MessageAnswer AskYesNo(const std::string& strText) override;
};

} // namespace hpa
