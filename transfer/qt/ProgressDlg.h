#pragma once
// "Downloading...": which file is being received, a bar with a percentage
// and a Cancel button, shown while the download runs on the user interface
// thread. The dialog is modeless but blocks its owner (the main window)
// while it exists, so the owner keeps repainting and refuses clicks; the
// download pumps the event queue through it. Cancel, Escape and closing the
// window only raise a flag that the download polls; Enter does nothing.
#include "transfer/TransferProgress.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace hpa {

class CProgressDlg : public QDialog, public CTransferProgress {
    Q_OBJECT
public:
    // The caption: "Downloading..." unless another is given.
    explicit CProgressDlg(QWidget* pParent = nullptr, const QString& strCaption = QString());
    // Unblocks the owner if Create blocked it.
    ~CProgressDlg() override;

    // Shows the dialog; the owner (the top-level window of the parent)
    // refuses input from now on unless it already did. True when shown.
    bool Create();

    void SetMessage(const QString& strText);
    // Pumps, moves the bar (clamped to its range) and refreshes the
    // percentage. Pos() is the bar's position.
    void SetPos(int nPos) override;
    int Pos() const;
    // Dispatches everything waiting in the event queue.
    void PumpMessages();
    // Pumps, then returns the cancel flag and clears it.
    bool CheckCancel() override;
    // The flag as it stands: no pumping, no clearing.
    bool IsCancelled() override { return m_bCancelled; }

    // The label text for a bar position: "42%"; a position beyond the
    // range wraps round (150 shows "50%"), the full range shows "100%".
    static QString PercentText(int nPos, int nLower, int nUpper);

    bool IsOwnerDisabled() const { return m_bOwnerDisabled; }
    QWidget* Owner() const { return m_pOwner; }
    QLabel* MessageLabel() const { return m_pMessage; }
    QLabel* PercentLabel() const { return m_pPercent; }
    QProgressBar* ProgressBar() const { return m_pBar; }
    QPushButton* CancelButton() const { return m_pCancel; }

    // CTransferProgress, for the download session.
    void Begin() override { Create(); }
    void SetMessage(const std::string& strText) override;
    void Pump() override { PumpMessages(); }

    // Cancel and Escape: raise the flag, stay open.
    void reject() override { m_bCancelled = true; }
    // Enter: nothing.
    void accept() override {}

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    static constexpr int kLower = 0;
    static constexpr int kUpper = 100;

    QProgressBar* m_pBar;
    QLabel* m_pPercent;
    QLabel* m_pMessage;
    QPushButton* m_pCancel;
    QPointer<QWidget> m_pOwner;
    bool m_bCancelled = false;
    bool m_bOwnerDisabled = false;
};

} // namespace hpa
