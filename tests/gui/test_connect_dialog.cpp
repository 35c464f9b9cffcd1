// The Connect to Printer dialog: its parts, the host box (history in list
// order, nothing chosen, upper case, 25 characters), the refusals of OK,
// the history rules of OK and Cancel, and F1.
#include "support/RecordingMessages.h"
#include "transfer/HostHistory.h"
#include "transfer/qt/ConnectDlg.h"
#include "ui/DialogUnits.h"
#include "ui/HelpWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hpa {

namespace {

using Hosts = std::vector<std::string>;

class ConnectDialog : public ::testing::Test {
protected:
    void SetHistory(const Hosts& hosts)
    {
        m_history.Clear();
        for (auto it = hosts.rbegin(); it != hosts.rend(); ++it)
            m_history.Use(*it);
    }
    QStringList ListItems(const CConnectDlg& dlg) const
    {
        QStringList items;
        for (int i = 0; i < dlg.HostBox()->count(); ++i)
            items << dlg.HostBox()->itemText(i);
        return items;
    }

    CHostHistory m_history;
    test::CRecordingMessages m_messages;
};

const std::string kTooLong(26, 'x');

} // namespace

TEST_F(ConnectDialog, TemplatePartsInDialogUnits)
{
    CConnectDlg dlg(m_history, m_messages);
    EXPECT_EQ(dlg.windowTitle(), "Connect to Printer");
    const CDialogUnits du(dlg.font());
    EXPECT_EQ(dlg.size(), QSize(du.X(258), du.Y(102)));
    EXPECT_EQ(dlg.HostBox()->pos(), du.Rect(57, 21, 114, 65).topLeft());
    EXPECT_EQ(dlg.HostBox()->width(), du.X(114));
    EXPECT_EQ(dlg.UserNameEdit()->geometry(), du.Rect(57, 42, 114, 16));
    EXPECT_EQ(dlg.PasswordEdit()->geometry(), du.Rect(57, 67, 114, 16));
    EXPECT_EQ(dlg.PasswordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.OkButton()->geometry(), du.Rect(201, 15, 50, 14));
    EXPECT_EQ(dlg.CancelButton()->geometry(), du.Rect(201, 34, 50, 14));
    EXPECT_TRUE(dlg.OkButton()->isDefault());
    // Each label's mnemonic leads to its field.
    std::vector<std::pair<QString, QWidget*>> labels;
    for (QLabel* pLabel : dlg.findChildren<QLabel*>())
        labels.emplace_back(pLabel->text(), pLabel->buddy());
    EXPECT_EQ(labels.size(), 3u);
    for (const auto& [strText, pBuddy] : labels) {
        if (strText == "&Host Name")
            EXPECT_EQ(pBuddy, dlg.HostBox());
        else if (strText == "&User Name")
            EXPECT_EQ(pBuddy, dlg.UserNameEdit());
        else
            EXPECT_EQ(std::make_pair(strText, pBuddy),
                      std::make_pair(QString("&Password"), (QWidget*)dlg.PasswordEdit()));
    }
}

TEST_F(ConnectDialog, HostBoxOffersTheHistoryChoosesNothingAndTakesUpperCase)
{
    SetHistory({"PRN1", "lab-printer", "PRN3"});
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    EXPECT_EQ(ListItems(dlg), (QStringList{"PRN1", "LAB-PRINTER", "PRN3"}));
    EXPECT_EQ(dlg.HostBox()->currentIndex(), -1);
    EXPECT_EQ(dlg.HostBox()->currentText(), "");
    EXPECT_EQ(dlg.UserNameEdit()->text(), "");
    EXPECT_EQ(dlg.PasswordEdit()->text(), "");

    QTest::keyClicks(dlg.HostBox()->lineEdit(), "printer-7.example.org:2121xyz");
    EXPECT_EQ(dlg.HostBox()->currentText(), "PRINTER-7.EXAMPLE.ORG:212"); // 25 characters
    // Typing that starts like a history entry completes nothing.
    dlg.HostBox()->setEditText(QString());
    QTest::keyClicks(dlg.HostBox()->lineEdit(), "prn");
    EXPECT_EQ(dlg.HostBox()->currentText(), "PRN");
    // Typed text is not added to the list.
    QTest::keyClick(dlg.HostBox()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(dlg.HostBox()->count(), 3);
}

TEST_F(ConnectDialog, OkPutsTheHostFirstAndHandsOverTheLogin)
{
    SetHistory({"A", "B", "C"});
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    dlg.HostBox()->setCurrentIndex(1);
    QTest::keyClicks(dlg.UserNameEdit(), "Admin");
    QTest::keyClicks(dlg.PasswordEdit(), std::string(25, 'p').c_str());
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_history.Entries(), (Hosts{"B", "A", "C"}));
    EXPECT_EQ(dlg.UserName(), "Admin"); // only the host is upper-cased
    EXPECT_EQ(dlg.Password(), std::string(25, 'p'));
    EXPECT_TRUE(m_messages.m_messages.empty());

    // A new host on a full list drops the oldest.
    SetHistory({"P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "P9"});
    CConnectDlg full(m_history, m_messages);
    full.HostBox()->setEditText("x");
    full.accept();
    EXPECT_EQ(m_history.Count(), 10u);
    EXPECT_EQ(m_history.Front(), "X");
    EXPECT_EQ(m_history.Entries().back(), "P8");
}

// An IPv6 printer is typed in brackets with a port; the text stays whole,
// only its letters upper-cased, in the box and in the history.
TEST_F(ConnectDialog, BracketedIpv6HostWithPortIsTakenAsTyped)
{
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    QTest::keyClicks(dlg.HostBox()->lineEdit(), "[fd00::5]:2121");
    QTest::keyClicks(dlg.UserNameEdit(), "admin");
    dlg.OkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_history.Entries(), Hosts{"[FD00::5]:2121"});
    EXPECT_TRUE(m_messages.m_messages.empty());
}

TEST_F(ConnectDialog, EmptyHostIsRefusedAndTheFocusGoesBackToTheBox)
{
    SetHistory({"A"});
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    dlg.UserNameEdit()->setFocus();
    dlg.OkButton()->click();
    EXPECT_EQ(m_messages.Exclamations(), Hosts{"Invalid host name"});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected); // not closed with OK
    EXPECT_TRUE(dlg.focusWidget() == dlg.HostBox() ||
                dlg.focusWidget() == dlg.HostBox()->lineEdit());
    EXPECT_EQ(m_history.Entries(), Hosts{"A"});
}

TEST_F(ConnectDialog, OverlongUserNameOrPasswordIsRefusedButTheHostIsAlreadyFirst)
{
    SetHistory({"A", "B"});
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    dlg.HostBox()->setEditText("B");
    dlg.UserNameEdit()->setText(QString::fromStdString(kTooLong));
    dlg.OkButton()->click();
    EXPECT_EQ(m_messages.Exclamations(), Hosts{"Please enter no more than 25 characters."});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), dlg.UserNameEdit());
    EXPECT_EQ(dlg.UserNameEdit()->selectedText().size(), 26);
    EXPECT_EQ(m_history.Entries(), (Hosts{"B", "A"}));

    dlg.UserNameEdit()->setText("ok");
    dlg.PasswordEdit()->setText(QString::fromStdString(kTooLong));
    dlg.OkButton()->click();
    EXPECT_EQ(m_messages.Exclamations().size(), 2u);
    EXPECT_EQ(dlg.focusWidget(), dlg.PasswordEdit());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    // Cancel now leaves the history as the refused OK left it.
    dlg.CancelButton()->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(m_history.Entries(), (Hosts{"B", "A"}));
}

TEST_F(ConnectDialog, CancelLeavesTheHistoryAlone)
{
    SetHistory({"A", "B", "C"});
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    dlg.HostBox()->setCurrentIndex(2);
    dlg.CancelButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(m_history.Entries(), (Hosts{"A", "B", "C"}));
    EXPECT_EQ(dlg.UserName(), "");
}

TEST_F(ConnectDialog, RunsModallyEnterInTheHostBoxIsOk)
{
    CConnectDlg dlg(m_history, m_messages);
    QTimer::singleShot(0, &dlg, [&] {
        QTest::keyClicks(dlg.HostBox()->lineEdit(), "lab");
        QTest::keyClick(dlg.HostBox()->lineEdit(), Qt::Key_Return);
    });
    // Whatever happens above, the dialog does not outlive a few seconds.
    QTimer::singleShot(5000, &dlg, &QDialog::reject);
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(m_history.Entries(), Hosts{"LAB"});
}

TEST_F(ConnectDialog, F1OpensTheConnectTopic)
{
    CConnectDlg dlg(m_history, m_messages);
    dlg.show();
    QTest::keyClick(dlg.HostBox()->lineEdit(), Qt::Key_F1);
    CHelpWindow* pHelp = CHelpWindow::Existing();
    ASSERT_NE(pHelp, nullptr);
    EXPECT_EQ(pHelp->CurrentPage(), HelpPageForContext(0x18003));
    EXPECT_EQ(pHelp->CurrentPage(), "connect.html");
    EXPECT_TRUE(dlg.isVisible());
    pHelp->close();
}

} // namespace hpa
