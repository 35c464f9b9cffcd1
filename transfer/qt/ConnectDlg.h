#pragma once
// "Connect to Printer": host name, user name and password before a
// download. The host box offers the host history, most recent first, and
// takes what the user types in upper case; OK puts the host at the top of
// the history. The caller then reads the user name and the password, and
// takes the host from the history's first entry.
#include "ui/CommandIds.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hpa {

class CHostHistory;
class CMessages;

class CConnectDlg : public QDialog {
    Q_OBJECT
public:
    // Longest host name, user name and password.
    static constexpr int kMaxText = 25;
    // The topic of the Connect to Printer command.
    static constexpr unsigned kHelpContext = kHelpCommandBase + ID_CONNECT;

    CConnectDlg(CHostHistory& history, CMessages& messages, QWidget* pParent = nullptr);

    // Set by a successful OK.
    const std::string& UserName() const { return m_strUserName; }
    const std::string& Password() const { return m_strPassword; }

    // OK: an empty host is refused with "Invalid host name"; otherwise the
    // fields are validated (the dialog closes with OK when they pass) and
    // the host goes to the top of the history.
    void accept() override;

    QComboBox* HostBox() const { return m_pHost; }
    QLineEdit* UserNameEdit() const { return m_pUserName; }
    QLineEdit* PasswordEdit() const { return m_pPassword; }
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    bool ValidateMaxChars(QLineEdit* pEdit);

    CHostHistory& m_history;
    CMessages& m_messages;
    QComboBox* m_pHost;
    QLineEdit* m_pUserName;
    QLineEdit* m_pPassword;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
    std::string m_strUserName;
    std::string m_strPassword;
};

} // namespace hpa
