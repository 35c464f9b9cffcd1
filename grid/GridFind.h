#pragma once
// The control's find state and the handler of its find dialog's messages.
// The dialog itself is the window layer's (a modeless Find dialog); the
// control only knows it through CGridFindDialog, so the whole search
// behaviour runs and is tested without a window.
#include <functional>
#include <memory>
#include <string>

namespace hpa {

class CUGCtrl;
class CMessages;
class CGridFind;
class CGridTextMatcher;

// The text shown when a search ends without a match.
inline constexpr const char* kFindNotFoundText = "The search item was not found";
inline constexpr const char* kFindNotFoundCaption = "HPA";

// The open find dialog as the find logic sees it.
class CGridFindDialog {
public:
    virtual ~CGridFindDialog() = default;

    // The window still exists (it may have been closed under us).
    virtual bool HasWindow() const = 0;
    // The dialog is closing (Cancel, Escape, its close button): the message
    // being handled is its last one.
    virtual bool IsTerminating() const = 0;
    // The text to find, as typed (UTF-8).
    virtual std::string FindWhat() const = 0;
    virtual bool MatchWholeWord() const = 0;
    virtual bool MatchCase() const = 0;
    virtual bool SearchDown() const = 0;
    // Takes the window away (closing it later is fine; no more messages may
    // arrive from it afterwards).
    virtual void DestroyWindow() = 0;
    // Gives the dialog the focus again (after the not-found box).
    virtual void ActivateWindow() = 0;
};

// Makes the dialog (find only, empty text, direction down) for a control;
// the dialog sends its messages to that control's CGridFind::OnFindMessage.
using GridFindDialogFactory = std::function<std::unique_ptr<CGridFindDialog>(CGridFind&)>;

class CGridFind {
public:
    explicit CGridFind(CUGCtrl& ctrl) : m_ctrl(ctrl) {}
    ~CGridFind();
    CGridFind(const CGridFind&) = delete;
    CGridFind& operator=(const CGridFind&) = delete;

    // Where dialogs come from (the window layer installs it); without one no
    // dialog can open.
    void SetDialogFactory(GridFindDialogFactory factory) { m_factory = std::move(factory); }
    // Where the not-found message goes (null: stderr).
    void SetMessages(CMessages* pMessages) { m_pMessages = pMessages; }
    // How cells are compared with the text (not owned; null: the store's
    // byte comparison). The window layer compares the text as displayed.
    void SetTextMatcher(CGridTextMatcher* pMatcher) { m_pMatcher = pMatcher; }
    CGridTextMatcher* TextMatcher() const { return m_pMatcher; }

    // 1 when a dialog is already open or its message is being handled (or no
    // dialog can be made); else opens one, first search set; 0.
    int Open();
    // 1 after destroying an open dialog and clearing the state; 0 when there
    // was none.
    int Close();

    // The dialog's message: Find Next was clicked, or the dialog is closing.
    // A message from a dialog that is not (or no longer) the open one is
    // ignored.
    void OnFindMessage(CGridFindDialog* pDialog);

    // A dialog exists; the current cell's focus frame shows while it does.
    bool IsDialogOpen() const { return m_bDialogOpen; }
    bool IsFirstSearch() const { return m_bFirstSearch; }
    CGridFindDialog* Dialog() const { return m_pDialog.get(); }

private:
    void ClearState();
    void Search(CGridFindDialog& dlg);

    CUGCtrl& m_ctrl;
    GridFindDialogFactory m_factory;
    CMessages* m_pMessages = nullptr;
    CGridTextMatcher* m_pMatcher = nullptr;
    std::unique_ptr<CGridFindDialog> m_pDialog;
    CGridFindDialog* m_pInUse = nullptr; // the dialog whose message is being handled
    bool m_bFirstSearch = false;
    bool m_bDialogOpen = false;
};

} // namespace hpa
