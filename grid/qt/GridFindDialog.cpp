#include "grid/qt/GridFindDialog.h"

#include "grid/UGCtrl.h"
#include "grid/qt/QtGridTextMatcher.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace hpa {

CGridFindDialogWnd::CGridFindDialogWnd(QWidget* pOwner, CGridFind& find)
    : QDialog(pOwner), m_find(find)
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* pLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    m_pEdit = new QLineEdit(this);
    pLabel->setBuddy(m_pEdit);
    m_pWholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_pMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);

    auto* pDirection = new QGroupBox(QStringLiteral("Direction"), this);
    m_pUp = new QRadioButton(QStringLiteral("&Up"), pDirection);
    m_pDown = new QRadioButton(QStringLiteral("&Down"), pDirection);
    m_pDown->setChecked(true);
    auto* pDirLayout = new QHBoxLayout(pDirection);
    pDirLayout->addWidget(m_pUp);
    pDirLayout->addWidget(m_pDown);

    m_pFindNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_pFindNext->setDefault(true);
    m_pFindNext->setEnabled(false);
    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);

    auto* pGrid = new QGridLayout(this);
    auto* pWhat = new QHBoxLayout;
    pWhat->addWidget(pLabel);
    pWhat->addWidget(m_pEdit, 1);
    pGrid->addLayout(pWhat, 0, 0, 1, 2);
    auto* pChecks = new QVBoxLayout;
    pChecks->addStretch(1);
    pChecks->addWidget(m_pWholeWord);
    pChecks->addWidget(m_pMatchCase);
    pGrid->addLayout(pChecks, 1, 0);
    pGrid->addWidget(pDirection, 1, 1);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pFindNext);
    pButtons->addWidget(m_pCancel);
    pButtons->addStretch(1);
    pGrid->addLayout(pButtons, 0, 2, 2, 1);

    connect(m_pFindNext, &QPushButton::clicked, this, &CGridFindDialogWnd::OnFindNext);
    connect(m_pCancel, &QPushButton::clicked, this, &CGridFindDialogWnd::reject);
    connect(m_pEdit, &QLineEdit::textChanged, this, &CGridFindDialogWnd::OnTextChanged);
}

CGridFindDialogWnd::~CGridFindDialogWnd() = default;

QString CGridFindDialogWnd::FindWhat() const
{
    return m_pEdit->text();
}
bool CGridFindDialogWnd::MatchWholeWord() const
{
    return m_pWholeWord->isChecked();
}
bool CGridFindDialogWnd::MatchCase() const
{
    return m_pMatchCase->isChecked();
}
bool CGridFindDialogWnd::SearchDown() const
{
    return m_pDown->isChecked();
}

// Nothing to look for, nothing to click: an empty text would match every
// cell that holds anything.
void CGridFindDialogWnd::OnTextChanged()
{
    m_pFindNext->setEnabled(!m_pEdit->text().isEmpty());
}

void CGridFindDialogWnd::OnFindNext()
{
    if (m_pEdit->text().isEmpty())
        return;
    Send();
}

void CGridFindDialogWnd::reject()
{
    if (m_bTerminating)
        return;
    m_bTerminating = true;
    Send();
    // Hidden now; a control that listened has already scheduled the delete.
    QDialog::reject();
}

// The handler may destroy this window (deleteLater) and the adapter; nothing
// of either is touched after it returns.
void CGridFindDialogWnd::Send()
{
    if (m_pAdapter)
        m_find.OnFindMessage(m_pAdapter);
}

// ---- adapter ------------------------------------------------------------------

CGridFindDialogAdapter::CGridFindDialogAdapter(CGridFindDialogWnd* pWnd) : m_pWnd(pWnd)
{
    if (m_pWnd)
        m_pWnd->SetAdapter(this);
}

CGridFindDialogAdapter::~CGridFindDialogAdapter()
{
    DestroyWindow();
}

bool CGridFindDialogAdapter::HasWindow() const
{
    return !m_pWnd.isNull();
}

bool CGridFindDialogAdapter::IsTerminating() const
{
    return !m_pWnd || m_pWnd->IsTerminating();
}

std::string CGridFindDialogAdapter::FindWhat() const
{
    return m_pWnd ? m_pWnd->FindWhat().toStdString() : std::string();
}

bool CGridFindDialogAdapter::MatchWholeWord() const
{
    return m_pWnd && m_pWnd->MatchWholeWord();
}
bool CGridFindDialogAdapter::MatchCase() const
{
    return m_pWnd && m_pWnd->MatchCase();
}
bool CGridFindDialogAdapter::SearchDown() const
{
    return !m_pWnd || m_pWnd->SearchDown();
}

// The window may be inside one of its own slots right now, so it is hidden
// at once and deleted when control returns to the event loop.
void CGridFindDialogAdapter::DestroyWindow()
{
    if (!m_pWnd)
        return;
    CGridFindDialogWnd* pWnd = m_pWnd.data();
    m_pWnd.clear();
    pWnd->SetAdapter(nullptr);
    pWnd->hide();
    pWnd->deleteLater();
}

void CGridFindDialogAdapter::ActivateWindow()
{
    if (!m_pWnd)
        return;
    m_pWnd->raise();
    m_pWnd->activateWindow();
    m_pWnd->FindEdit()->setFocus();
}

// ---- installing -------------------------------------------------------------------

void InstallFindDialog(CUGCtrl& ctrl, QWidget* pOwner, CMessages* pMessages)
{
    CGridFind& find = ctrl.GetFind();
    find.SetMessages(pMessages);
    // Cells are compared as they are displayed. One matcher serves every
    // grid: searches run one at a time on the interface thread.
    static CQtGridTextMatcher s_matcher;
    find.SetTextMatcher(&s_matcher);
    QPointer<QWidget> owner(pOwner);
    find.SetDialogFactory([owner](CGridFind& f) -> std::unique_ptr<CGridFindDialog> {
        if (!owner)
            return nullptr;
        auto* pWnd = new CGridFindDialogWnd(owner.data(), f);
        pWnd->setAttribute(Qt::WA_DeleteOnClose, false);
        auto pAdapter = std::make_unique<CGridFindDialogAdapter>(pWnd);
        pWnd->show();
        // The new dialog takes the keyboard, so what is typed next is the
        // text to find; on X nothing but a window manager would give it.
        pWnd->activateWindow();
        pWnd->FindEdit()->setFocus();
        return pAdapter;
    });
}

} // namespace hpa
