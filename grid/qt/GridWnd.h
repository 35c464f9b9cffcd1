#pragma once
// The grid control's window: a CUGCtrl shown with its seven child windows
// (cell area, top heading, side heading, corner button, the two scroll bars
// and the scroll tip). The control decides everything; this window gives it
// a size, carries out its redraw hints and scroll bar state, and hands it
// the user's keys and mouse through CGridInput.
//
// Use:
//     auto* pWnd = new CGridWnd(grid);          // grid: a CUGCtrl (or derived)
//     pWnd->CreateInParent(pParent, rect, id);  // or AttachToDialogItem(...)
// then show, hide, move and resize it like any widget (setGeometry, a
// layout, show()/hide()). The control should outlive the window; if it goes
// first, the window empties itself and waits for its owner to delete it. QWidget::render / grab
// draw it into any paint device; printing goes through CQtGridDC and CGridPrinter instead.
#include "grid/GridHost.h"
#include "grid/GridInput.h"
#include "grid/GridPaint.h"

#include <QFrame>
#include <QPointer>
#include <QTimer>

#include <memory>

class QMenu;
class QScrollBar;

namespace hpa {

class CUGCtrl;
class CGridArea;
class CGridTopHeading;
class CGridSideHeading;
class CGridCorner;
class CGridScrollTip;
class CGridFindDialog;
class CQtMessages;

// The children's control ids, in the order they are created.
constexpr int kGridIdCellArea = 1, kGridIdTopHeading = 2, kGridIdSideHeading = 3, kGridIdCorner = 4,
              kGridIdVScroll = 5, kGridIdHScroll = 6, kGridIdScrollTip = 7;

// The dynamic property that carries a control id ("controlId").
extern const char* const kGridControlIdProperty;

class CGridWnd : public QFrame, public CGridHost {
    Q_OBJECT
public:
    // The window of a control, not yet in any parent. The control must live
    // longer than the window; the window detaches itself when destroyed.
    explicit CGridWnd(CUGCtrl& ctrl);
    ~CGridWnd() override;
    CGridWnd(const CGridWnd&) = delete;
    CGridWnd& operator=(const CGridWnd&) = delete;

    // Makes the window a child of pParent at rc (parent coordinates) with
    // control id nId, takes the parent's font as grid font, lays out the
    // children and calls OnGridSetup. Visible unless bVisible is false.
    // Nonzero on success (0 without a parent).
    int CreateInParent(QWidget* pParent, const QRect& rc, int nId, bool bVisible = true);
    // Takes over a dialog's placeholder: the child of pDialog whose control
    // id property is nId (or whose object name is that number). The window
    // takes the placeholder's place in its layout (or its geometry), gets a
    // thin border and the dialog's font, and OnGridSetup runs. 0 when done,
    // 1 when there is no such placeholder.
    int AttachToDialogItem(QWidget* pDialog, int nId);
    int AttachToDialogItem(QWidget* pPlaceholder);

    CUGCtrl& Ctrl() const { return m_ctrl; }
    CGridInput& Input() { return m_input; }
    CGridPainter& Painter() { return m_painter; }
    CGridArea* CellArea() const { return m_pArea; }
    CGridTopHeading* TopHeading() const { return m_pTop; }
    CGridSideHeading* SideHeading() const { return m_pSide; }
    CGridCorner* Corner() const { return m_pCorner; }
    QScrollBar* VScrollBar() const { return m_pVScroll; }
    QScrollBar* HScrollBar() const { return m_pHScroll; }
    CGridScrollTip* ScrollTip() const { return m_pTip; }
    // The control's popup menu (empty; shown when popup menus are on and
    // CanShowMenu allows). Actions with ids from 1000 reach OnMenuCommand.
    QMenu* PopupMenu() const { return m_pMenu; }

    // Whether the current cell shows its focus frame now: the cell area has
    // the focus or the find dialog is open.
    bool FocusFrameShown() const;

    // ---- CGridHost ----------------------------------------------------------------
    void PlaceChildren(const CGridChildRects& rects) override;
    void UpdateChildren() override;
    void InvalidateAll() override;
    void UpdateScrollBars() override;
    void OnGridFontChanged() override;
    int SetOffscreenPaint(int bOn) override;
    std::unique_ptr<CGridDC> CreateMeasureDC() override;
    void FocusCellArea() override;
    // The children go and the window stays behind, empty, for its owner to
    // delete.
    void OnControlDestroyed() override;
    // The control was destroyed before its window.
    bool IsDetached() const { return m_bDetached; }

    // The cell area asks this after every mouse event: runs the auto-scroll
    // timer while the input engine auto-scrolls.
    void KickAutoScroll();

public slots:
    // The find dialog's message for this control ("commdlg_FindReplace"):
    // Find Next was pressed or the dialog is closing.
    void OnFindReplace(hpa::CGridFindDialog* pDialog);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreateChildren();
    void DeleteChildren();
    void Setup(QWidget* pFontSource);
    void SyncClientSize();
    void ApplyVScroll();
    void ApplyHScroll();
    void OnVAction(int nAction);
    void OnHAction(int nAction);
    void OnVReleased();
    void OnHReleased();
    void ShowTip(bool bVertical, const std::string& strTip);
    void ShowMenuAt(int nSection, CGridPoint pt);
    void OnAutoScrollTimer();

    CUGCtrl& m_ctrl;
    CGridInput m_input;
    CGridPainter m_painter;
    std::unique_ptr<CQtMessages> m_pMessages;
    CGridArea* m_pArea = nullptr;
    CGridTopHeading* m_pTop = nullptr;
    CGridSideHeading* m_pSide = nullptr;
    CGridCorner* m_pCorner = nullptr;
    QScrollBar* m_pVScroll = nullptr;
    QScrollBar* m_pHScroll = nullptr;
    CGridScrollTip* m_pTip = nullptr;
    QMenu* m_pMenu = nullptr;
    QTimer m_autoScroll;
    bool m_bDetached = false;
};

} // namespace hpa
