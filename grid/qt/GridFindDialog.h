#pragma once
// The grid's modeless Find dialog: Find what, Match whole word only, Match
// case, Up / Down, Find Next and Cancel. Every Find Next and the closing go
// to the owning control's CGridFind::OnFindMessage; the control decides the
// rest (search, not-found box, destroying the dialog).
#include "grid/GridFind.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace hpa {

class CUGCtrl;
class CMessages;
class CGridFindDialogAdapter;

class CGridFindDialogWnd : public QDialog {
    Q_OBJECT
public:
    CGridFindDialogWnd(QWidget* pOwner, CGridFind& find);
    ~CGridFindDialogWnd() override;

    QString FindWhat() const;
    bool MatchWholeWord() const;
    bool MatchCase() const;
    bool SearchDown() const;
    bool IsTerminating() const { return m_bTerminating; }

    QLineEdit* FindEdit() const { return m_pEdit; }
    QPushButton* FindNextButton() const { return m_pFindNext; }

    // Set by the adapter that speaks for this window (null once it is gone).
    void SetAdapter(CGridFindDialogAdapter* pAdapter) { m_pAdapter = pAdapter; }

public slots:
    // Escape, Cancel and the close button all end here: the control hears
    // that the dialog is closing.
    void reject() override;

private slots:
    void OnFindNext();
    void OnTextChanged();

private:
    void Send();

    CGridFind& m_find;
    CGridFindDialogAdapter* m_pAdapter = nullptr;
    bool m_bTerminating = false;
    QLineEdit* m_pEdit = nullptr;
    QCheckBox* m_pWholeWord = nullptr;
    QCheckBox* m_pMatchCase = nullptr;
    QRadioButton* m_pUp = nullptr;
    QRadioButton* m_pDown = nullptr;
    QPushButton* m_pFindNext = nullptr;
    QPushButton* m_pCancel = nullptr;
};

// The dialog as the control's find state sees it. The window may be gone
// before the adapter (its owner closed); the adapter then reports no window.
class CGridFindDialogAdapter : public CGridFindDialog {
public:
    explicit CGridFindDialogAdapter(CGridFindDialogWnd* pWnd);
    ~CGridFindDialogAdapter() override;

    bool HasWindow() const override;
    bool IsTerminating() const override;
    std::string FindWhat() const override;
    bool MatchWholeWord() const override;
    bool MatchCase() const override;
    bool SearchDown() const override;
    void DestroyWindow() override;
    void ActivateWindow() override;

    CGridFindDialogWnd* Window() const { return m_pWnd.data(); }

private:
    QPointer<CGridFindDialogWnd> m_pWnd;
};

// Lets the control open Find dialogs owned by pOwner (the grid's window);
// the not-found box goes to pMessages; cells are compared as displayed.
void InstallFindDialog(CUGCtrl& ctrl, QWidget* pOwner, CMessages* pMessages);

} // namespace hpa
