#include "transfer/qt/ProgressDlg.h"

#include "platform/qt/IdleProcessing.h"
#include "ui/DialogUnits.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cstdint>

namespace hpa {

// The progress dialog's layout: 186 x 79 dialog units in the 8-point dialog font.
CProgressDlg::CProgressDlg(QWidget* pParent, const QString& strCaption) : QDialog(pParent)
{
    setWindowTitle(strCaption.isEmpty() ? QStringLiteral("Downloading...") : strCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(CDialogUnits::DialogFont(8));
    const CDialogUnits du(font());
    setFixedSize(du.X(186), du.Y(79));

    m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancel->setGeometry(du.Rect(67, 58, 50, 14));
    m_pCancel->setDefault(true);
    connect(m_pCancel, &QPushButton::clicked, this, &CProgressDlg::reject);

    m_pBar = new QProgressBar(this);
    m_pBar->setGeometry(du.Rect(15, 34, 154, 13));
    m_pBar->setTextVisible(false);
    m_pBar->setRange(kLower, kUpper);
    m_pBar->setValue(kLower);

    m_pPercent = new QLabel(QStringLiteral(" 0 %"), this);
    QRect rectPercent = du.Rect(85, 23, 18, 8);
    // "100%" must fit whatever the desktop font's digits measure.
    rectPercent.setWidth(
        std::max(rectPercent.width(), fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 2));
    m_pPercent->setGeometry(rectPercent);

    m_pMessage = new QLabel(this);
    m_pMessage->setGeometry(du.Rect(13, 7, 158, 8));

    // Enter reaches the focused Cancel button first, then the dialog.
    m_pCancel->installEventFilter(this);
    installEventFilter(this);
}

CProgressDlg::~CProgressDlg()
{
    // Hiding ends the block on the owner before the window goes.
    hide();
    m_bOwnerDisabled = false;
}

bool CProgressDlg::Create()
{
    if (isVisible())
        return true;
    m_pOwner = parentWidget() ? parentWidget()->window() : nullptr;
    if (m_pOwner && m_pOwner->isEnabled()) {
        // A window-modal dialog blocks its owner's input while the owner
        // still paints: what a disabled owner window does.
        setWindowModality(Qt::WindowModal);
        m_bOwnerDisabled = true;
    }
    show();
    if (!isVisible()) {
        setWindowModality(Qt::NonModal);
        m_bOwnerDisabled = false;
        return false;
    }
    return true;
}

void CProgressDlg::SetMessage(const QString& strText)
{
    m_pMessage->setText(strText);
}

void CProgressDlg::SetMessage(const std::string& strText)
{
    SetMessage(QString::fromStdString(strText));
}

void CProgressDlg::SetPos(int nPos)
{
    PumpMessages();
    m_pBar->setValue(std::clamp(nPos, kLower, kUpper));
    const QString strText = PercentText(nPos, kLower, kUpper);
    // Unchanged text is not set again, so a standing percentage never flickers.
    if (m_pPercent->text() != strText)
        m_pPercent->setText(strText);
}

int CProgressDlg::Pos() const
{
    return m_pBar->value();
}

QString CProgressDlg::PercentText(int nPos, int nLower, int nUpper)
{
    if (nUpper <= nLower)
        return QStringLiteral("0%");
    // Wide enough for any int position.
    std::int64_t nPercent = (static_cast<std::int64_t>(nPos) - nLower) * 100 /
                            (static_cast<std::int64_t>(nUpper) - nLower);
    if (nPercent != 100)
        nPercent %= 100;
    return QString::number(nPercent) + QLatin1Char('%');
}

void CProgressDlg::PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // The event loop never waits during a download: the toolbar's state is
    // brought up to date here instead.
    RunIdleProcessing();
}

bool CProgressDlg::CheckCancel()
{
    PumpMessages();
    const bool bCancelled = m_bCancelled;
    m_bCancelled = false;
    return bCancelled;
}

bool CProgressDlg::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(pObject, pEvent);
}

} // namespace hpa
