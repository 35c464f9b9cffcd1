#include "transfer/qt/ConnectDlg.h"

#include "platform/Messages.h"
#include "transfer/HostHistory.h"
#include "ui/DialogUnits.h"
#include "ui/HelpWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include <algorithm>

namespace hpa {

namespace {

// The host box converts what is typed to upper case, character by
// character, so the length never changes under the 25-character limit.
class CUpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& strInput, int&) const override
    {
        for (QChar& ch : strInput)
            ch = ch.toUpper();
        return Acceptable;
    }
};

QString UpperCase(const QString& strText)
{
    QString strUpper = strText;
    int nPos = 0;
    CUpperCaseValidator().validate(strUpper, nPos);
    return strUpper;
}

QLabel* MakeLabel(const QString& strText, QWidget* pBuddy, const QRect& rect, QWidget* pParent)
{
    auto* pLabel = new QLabel(strText, pParent);
    pLabel->setBuddy(pBuddy);
    pLabel->setGeometry(rect);
    return pLabel;
}

} // namespace

// The Connect dialog's layout: 258 x 102 dialog units in the 8-point dialog font.
CConnectDlg::CConnectDlg(CHostHistory& history, CMessages& messages, QWidget* pParent)
    : QDialog(pParent), m_history(history), m_messages(messages)
{
    setWindowTitle(QStringLiteral("Connect to Printer"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(CDialogUnits::DialogFont(8));
    const CDialogUnits du(font());
    setFixedSize(du.X(258), du.Y(102));

    // Created in tab order: host, user name, password, OK, Cancel.
    m_pHost = new QComboBox(this);
    m_pHost->setEditable(true);
    m_pHost->setInsertPolicy(QComboBox::NoInsert);
    m_pHost->setCompleter(nullptr); // the box completes nothing on its own
    m_pHost->setValidator(new CUpperCaseValidator(m_pHost));
    m_pHost->lineEdit()->setMaxLength(kMaxText);
    m_pHost->setGeometry(du.X(57), du.Y(21), du.X(114), m_pHost->sizeHint().height());
    // The template's 65 units include the dropped list.
    const int nListHeight = du.Y(65) - m_pHost->height();
    m_pHost->setMaxVisibleItems(std::max(1, nListHeight / std::max(1, fontMetrics().height())));
    for (const std::string& strHost : m_history.Entries())
        m_pHost->addItem(UpperCase(QString::fromStdString(strHost)));
    // Nothing is preselected: the text starts empty, the list at its top.
    m_pHost->setCurrentIndex(-1);
    m_pHost->setEditText(QString());
    m_pHost->view()->scrollToTop();

    m_pUserName = new QLineEdit(this);
    m_pUserName->setGeometry(du.Rect(57, 42, 114, 16));
    m_pPassword = new QLineEdit(this);
    m_pPassword->setEchoMode(QLineEdit::Password);
    m_pPassword->setGeometry(du.Rect(57, 67, 114, 16));

    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setGeometry(du.Rect(201, 15, 50, 14));
    m_pOk->setDefault(true);
    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancel->setGeometry(du.Rect(201, 34, 50, 14));
    connect(m_pOk, &QPushButton::clicked, this, &CConnectDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CConnectDlg::reject);

    MakeLabel(QStringLiteral("&Host Name"), m_pHost, du.Rect(7, 22, 41, 12), this);
    MakeLabel(QStringLiteral("&User Name"), m_pUserName, du.Rect(7, 47, 41, 12), this);
    MakeLabel(QStringLiteral("&Password"), m_pPassword, du.Rect(7, 71, 41, 12), this);
    m_pHost->setFocus();
}

void CConnectDlg::accept()
{
    const QString strHost = m_pHost->currentText();
    if (strHost.isEmpty()) {
        m_messages.Exclamation("Invalid host name");
        m_pHost->setFocus();
        return;
    }
    // The fields are checked in tab order; the first too long keeps the
    // dialog open with the focus on it.
    if (ValidateMaxChars(m_pUserName) && ValidateMaxChars(m_pPassword)) {
        m_strUserName = m_pUserName->text().toStdString();
        m_strPassword = m_pPassword->text().toStdString();
        QDialog::accept();
    }
    // Even an OK that failed validation has made the host the most recent.
    m_history.Use(strHost.toStdString());
}

bool CConnectDlg::ValidateMaxChars(QLineEdit* pEdit)
{
    if (pEdit->text().size() <= kMaxText)
        return true;
    m_messages.Exclamation("Please enter no more than " + std::to_string(kMaxText) +
                           " characters.");
    pEdit->setFocus();
    pEdit->selectAll();
    return false;
}

void CConnectDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_F1 && pEvent->modifiers() == Qt::NoModifier) {
        ShowHelpContext(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

} // namespace hpa
