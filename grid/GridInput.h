#pragma once
// What the grid does with the user's keys and mouse. The window layer turns
// its toolkit's events into these calls; everything here ends in the moves,
// scrolls, selection updates and notifications of CUGCtrl, so the whole
// input behaviour runs and is tested without a window.
//
// Coordinates are always in the receiving child's own pixels (cell area,
// top heading, side heading or corner), also while the mouse is held and the
// pointer is outside that child.
#include "grid/GridDC.h"

#include <functional>

namespace hpa {

class CUGCtrl;
class CGridCellType;

// Key codes as OnKeyDown and OnGridKeyDown see them. Letters and digits are
// their upper-case ASCII codes ('A', '7'); the keys below have the fixed
// codes the grid notifications have always used.
enum GridKey : int {
    kGridKeyBack = 0x08,
    kGridKeyTab = 0x09,
    kGridKeyReturn = 0x0D,
    kGridKeyShift = 0x10,
    kGridKeyControl = 0x11,
    kGridKeyMenu = 0x12, // Alt
    kGridKeyEscape = 0x1B,
    kGridKeySpace = 0x20,
    kGridKeyPageUp = 0x21,
    kGridKeyPageDown = 0x22,
    kGridKeyEnd = 0x23,
    kGridKeyHome = 0x24,
    kGridKeyLeft = 0x25,
    kGridKeyUp = 0x26,
    kGridKeyRight = 0x27,
    kGridKeyDown = 0x28,
    kGridKeyInsert = 0x2D,
    kGridKeyDelete = 0x2E,
    kGridKeyF1 = 0x70, // F2..F12 follow in order
};

// Modifier keys held during an event (bit flags).
constexpr unsigned kGridModShift = 0x1;
constexpr unsigned kGridModControl = 0x2;
constexpr unsigned kGridModAlt = 0x4;

// Mouse buttons: one of them for a button event, any combination for the
// buttons held during a move.
constexpr unsigned kGridButtonLeft = 0x1;
constexpr unsigned kGridButtonRight = 0x2;
constexpr unsigned kGridButtonMiddle = 0x4;

enum class GridMouseAction { down, up, doubleClick };

// The pointer shape over a heading or the corner.
enum class GridCursor {
    arrow,
    sizeWE,  // column edge, side heading width
    sizeNS,  // row edge, top heading height
    sizeNWSE // both heading sizes at once
};

class CGridInput {
public:
    explicit CGridInput(CUGCtrl& ctrl);
    ~CGridInput();
    CGridInput(const CGridInput&) = delete;
    CGridInput& operator=(const CGridInput&) = delete;

    // ---- keyboard (cell area) ----------------------------------------------
    // The current cell's type and OnGridKeyDown see the key first and may
    // change it; then arrows, Page Up/Down and Home/End move the current cell.
    // Returns 1 when the key moved (or tried to move) the current cell.
    int OnKeyDown(int* pKey, unsigned nModifiers);
    // A typed character: the current cell's type, then OnGridChar.
    void OnChar(int* pChar, unsigned nModifiers);
    // Whether the cell area keeps this key when it sits in a dialog: every
    // key except Tab and Enter, which are left to the dialog.
    bool WantsKey(int nKey) const;

    // ---- mouse in the cell area ----------------------------------------------
    void OnCellAreaButton(unsigned nButton, GridMouseAction action, int x, int y,
                          unsigned nModifiers);
    // nButtons: the buttons held.
    void OnCellAreaMouseMove(int x, int y, unsigned nButtons, unsigned nModifiers);

    // ---- headings and corner (nSection: kSectionTopHeading,
    // kSectionSideHeading or kSectionCorner) -----------------------------------
    void OnHeadingButton(int nSection, unsigned nButton, GridMouseAction action, int x, int y,
                         unsigned nModifiers);
    void OnHeadingMouseMove(int nSection, int x, int y, unsigned nButtons, unsigned nModifiers);

    void OnTopHeadingButton(unsigned nButton, GridMouseAction action, int x, int y, unsigned nMods);
    void OnTopHeadingMouseMove(int x, int y, unsigned nButtons, unsigned nMods);
    void OnSideHeadingButton(unsigned nButton, GridMouseAction action, int x, int y,
                             unsigned nMods);
    void OnSideHeadingMouseMove(int x, int y, unsigned nButtons, unsigned nMods);
    void OnCornerButton(unsigned nButton, GridMouseAction action, int x, int y, unsigned nMods);
    void OnCornerMouseMove(int x, int y, unsigned nButtons, unsigned nMods);

    // The pointer shape for a position in a section (asks the Can...
    // notifications, so a grid that refuses resizing keeps the arrow). While
    // a resize drag runs, its shape.
    GridCursor CursorAt(int nSection, int x, int y);

    // The window lost the mouse (another window took it, Escape during a
    // drag): ends any drag and auto-scroll without a release notification.
    void OnCaptureLost();
    // A drag of any kind (cell selection, resize) is running; the window
    // keeps the mouse grabbed while this holds.
    bool IsDragging() const { return m_drag != Drag::none; }

    // ---- focus (cell area) -------------------------------------------------------
    // Both redraw the current cell so its focus frame follows the focus.
    void OnFocusIn();
    void OnFocusOut();
    bool HasFocus() const { return m_bHasFocus; }

    // ---- auto-scroll -------------------------------------------------------------
    // While the left button is held with the pointer outside the cell area the
    // grid scrolls toward it. The move that leaves the area takes the first
    // step; the window then calls AutoScrollStep from a timer, waiting
    // AutoScrollDelay() milliseconds (its own minimum when 0) between calls,
    // for as long as IsAutoScrolling(). A new move or the release stops it
    // (a move that stays outside starts it again from the new position).
    bool IsAutoScrolling() const { return m_bAutoScroll; }
    void AutoScrollStep();
    int AutoScrollDelay() const;

    // ---- popup menu -----------------------------------------------------------------
    // Shows the control's popup menu at a point of a section's child. Called
    // only when popup menus are on and CanShowMenu allowed it.
    using ShowMenuFn = std::function<void(int nSection, CGridPoint pt)>;
    void SetShowMenu(ShowMenuFn fn) { m_fnShowMenu = std::move(fn); }
    // A command picked from that menu: OnMenuCommand with the remembered
    // cell and section (ids from 1000 on).
    void OnMenuCommand(int nId);

private:
    enum class Drag { none, cells, cellType, column, row, topHeading, sideHeading, bothHeadings };

    // Implemented in GridInputKeys.cpp, GridInputCells.cpp,
    // GridInputHeadings.cpp and GridInputResize.cpp.
    void BeginEvent(int nSource, unsigned nModifiers);
    void EndEvent();
    CGridCellType* CurrentCellType();
    bool IsCurrent(int nCol, int nRow) const;
    void ClickMove(int nCol, int nRow);

    void CellLeftDown(int x, int y);
    void CellLeftUp(int x, int y);
    void CellDoubleClick(int x, int y);
    void CellRightDown(int x, int y);
    void CellRightUp(int x, int y);
    void DragOver(int x, int y);
    void AutoScrollTo(int x, int y);
    void ShowMenu(int nCol, int nRow, int nSection, CGridPoint pt, int nMenuSection);

    int ColumnAtX(int x) const;
    int RowAtY(int y) const;
    int RowHeightOf(int nRow) const;
    int ColumnEdgeAt(int x) const;
    int RowEdgeAt(int y) const;
    Drag CornerEdgeAt(int x, int y);
    Drag ResizeAt(int nSection, int x, int y, int* pnIndex);
    bool IsResizing() const;
    void StartResize(Drag kind, int nIndex, int x, int y);
    void ResizeMove(int x, int y);
    void ResizeEnd();
    void ShowResize();
    void HeadingClick(int nSection, unsigned nButton, GridMouseAction action, int x, int y);

    CUGCtrl& m_ctrl;
    bool m_bHasFocus = false;

    Drag m_drag = Drag::none;
    CGridCellType* m_pCaptureType = nullptr; // a cell type that answered -2
    int m_nDragIndex = -1;                   // column or row being resized
    int m_nDragStart = 0;                    // pointer position at the start
    int m_nDragStartSize = 0;                // width or height at the start

    bool m_bAutoScroll = false;
    int m_nAutoX = 0;
    int m_nAutoY = 0;
    unsigned m_nAutoModifiers = 0;
    bool m_bAutoSingleStep = false;

    ShowMenuFn m_fnShowMenu;
    int m_nMenuCol = -1;
    int m_nMenuRow = -1;
    int m_nMenuSection = 0;
};

} // namespace hpa
