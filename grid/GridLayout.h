#pragma once
// The state block the control and its child windows share: counts, sizes,
// the current cell, the visible origin, the control's own cells and the
// switches that steer drawing and input.
#include "grid/GridDC.h"
#include "grid/UGCell.h"

#include <vector>

namespace hpa {

// Input sources: what is moving the current cell.
constexpr int kInputProgram = 0;
constexpr int kInputKeyboard = 1;
constexpr int kInputMouseClick = 2;
constexpr int kInputMouseDrag = 3;

// The platform's usual scroll bar thickness; the window layer may set the
// real one with SetVScrollBarWidth / SetHScrollBarHeight.
constexpr int kDefaultScrollBarSize = 17;

// From this many rows on, per-row heights are dropped for uniform heights.
constexpr int kUniformRowThreshold = 64000;

struct GridLayout {
    int m_nColumnCount = 0;
    int m_nCurrentColumn = 0;
    int m_nPrevCurrentColumn = 0;
    int m_nLeftColumn = 0;
    int m_nPrevLeftColumn = 0;
    int m_nMaxLeftColumn = 0;
    std::vector<int> m_anColumnWidths;
    int m_nDefColumnWidth = 100;

    int m_nRowCount = 0;
    int m_nCurrentRow = 0;
    int m_nPrevCurrentRow = 0;
    int m_nTopRow = 0;
    int m_nPrevTopRow = 0;
    int m_nMaxTopRow = 0;
    std::vector<int> m_anRowHeights; // empty in uniform mode
    int m_nDefRowHeight = 20;
    int m_bUniformRowHeight = 0;
    int m_nUserSizingMode = 2;

    CUGCell m_gridDefault;
    std::vector<CUGCell> m_aColumnDefaults;
    CUGCell m_headingDefault;
    std::vector<CUGCell> m_aColumnHeadings;
    CUGCell m_cornerCell;
    CUGCell m_currentCell; // the resolved current cell

    int m_nTopHeadingHeight = 20;
    int m_nSideHeadingWidth = 50;
    int m_nVScrollWidth = kDefaultScrollBarSize;
    int m_nHScrollHeight = kDefaultScrollBarSize;
    int m_nCellAreaHeight = 0;
    int m_nCellAreaWidth = 0;
    int m_bVScrollNeeded = 0;
    int m_bHScrollNeeded = 0;

    int m_bRowSelection = 0;
    int m_bSelectionEnabled = 0;
    int m_nCurrentCellStyle = 1; // bit 1 focus frame, bit 2 highlight colours
    int m_nInputSource = kInputProgram;
    int m_n3DBorderWidth = 1;
    CGridFont m_font{"MS Sans Serif", -11, 400, false, false};
    int m_bPaintEnabled = 1;
    int m_bVScrollTips = 0;
    int m_bHScrollTips = 0;
    int m_bPopupMenus = 0;
    int m_nVThumbMode = 0; // 0 scroll at release, 1 while dragging, 2 three-position bar
    int m_nHThumbMode = 0;
    int m_nTabEnterColStep = 0;
    int m_nTabEnterRowStep = 0;
    int m_bRemap = 1;
    int m_nDragMode = 0;
    int m_nDragStepPause = 0;
    int m_bOffscreenPaint = 0;
    int m_bFullView = 1;

    // Modifier keys of the input event being processed (selection update).
    bool m_bShiftDown = false;
    bool m_bControlDown = false;
};

} // namespace hpa
