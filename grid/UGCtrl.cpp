// CUGCtrl: construction, the control's own cells, cell access through the
// stores, archive form, cell types and the appearance switches.
#include "grid/UGCtrl.h"

#include "grid/GridCellTypeExtra.h"
#include "grid/GridDraw.h"

#include "platform/Archive.h"

#include <cstring>

namespace hpa {

CUGCtrl::CUGCtrl() : m_sysColors(GetGridSysColors()), m_pMemStore(std::make_unique<CGridMemStore>())
{
    CUGCell& def = m_layout.m_gridDefault;
    def.SetDataKind(kDataKindText);
    def.SetAlignment(kAlignGridDefault);
    def.SetTextColor(GetGridSysColor(GridSysColor::windowText));
    def.SetBackColor(GetGridSysColor(GridSysColor::window));
    def.SetHighlightTextColor(GetGridSysColor(GridSysColor::highlightText));
    def.SetHighlightBackColor(GetGridSysColor(GridSysColor::highlight));
    def.SetBorderStyle(kBorderThinRight | kBorderThinBottom);
    def.SetReadOnly(0);

    CUGCell& head = m_layout.m_headingDefault;
    head.SetBorderStyle(kBorderRaised);
    head.SetTextColor(GetGridSysColor(GridSysColor::buttonText));
    head.SetBackColor(GetGridSysColor(GridSysColor::buttonFace));
    head.SetAlignment(kAlignCenter | kAlignVCenter);

    m_pMemStore->SetControl(this);
    m_apStores[0] = m_pMemStore.get();
    AddCellType(std::make_unique<CNormalCellType>());
    AddCellType(std::make_unique<CCheckBoxCellType>());
    AddCellType(std::make_unique<CDropListCellType>());
    AddCellType(std::make_unique<CArrowCellType>());
    AddCellType(std::make_unique<CFittedTextCellType>());
    AddCellType(std::make_unique<CProgressCellType>());
    AddCellType(std::make_unique<CSpinCellType>());
}

CUGCtrl::~CUGCtrl()
{
    if (m_pHost)
        m_pHost->OnControlDestroyed();
}

void CUGCtrl::SetHost(CGridHost* pHost)
{
    m_pHost = pHost;
}

void CUGCtrl::SetMeasureDCFactory(std::function<std::unique_ptr<CGridDC>()> factory)
{
    m_measureFactory = std::move(factory);
}

std::unique_ptr<CGridDC> CUGCtrl::CreateMeasureDC()
{
    std::unique_ptr<CGridDC> pDC;
    if (m_pHost)
        pDC = m_pHost->CreateMeasureDC();
    if (!pDC && m_measureFactory)
        pDC = m_measureFactory();
    if (!pDC)
        pDC = std::make_unique<CFixedMeasureDC>();
    return pDC;
}

// ---- stores -----------------------------------------------------------------

CGridStore* CUGCtrl::StoreForSlot(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_apStores.size()) ||
        !m_apStores[static_cast<std::size_t>(nIndex)])
        return m_apStores[0];
    return m_apStores[static_cast<std::size_t>(nIndex)];
}

CGridStore* CUGCtrl::CurrentStore()
{
    return StoreForSlot(m_nCurrentStore);
}

CGridStore* CUGCtrl::GetStore(int nIndex)
{
    if (nIndex < 1 || nIndex > 4)
        return nullptr;
    return StoreForSlot(nIndex);
}

// Column headings may redirect a data column to another store column and
// store. No heading in this program does, so all access goes to the
// built-in store at the column itself.
void CUGCtrl::Remap(int nCol, int* pnStoreCol, CGridStore** ppStore)
{
    *pnStoreCol = nCol;
    *ppStore = CurrentStore();
    const auto& heads = m_layout.m_aColumnHeadings;
    if (!m_layout.m_bRemap || nCol <= 0 || nCol >= static_cast<int>(heads.size()))
        return;
    const int nStoreCol = heads[static_cast<std::size_t>(nCol)].GetStoreColumn();
    if (nStoreCol > 0)
        *pnStoreCol = nStoreCol;
    if (*pnStoreCol < static_cast<int>(heads.size())) {
        const int nIndex = heads[static_cast<std::size_t>(*pnStoreCol)].GetStoreIndex();
        if (nIndex > 0)
            *ppStore = StoreForSlot(nIndex);
    }
}

// ---- cell access --------------------------------------------------------------

namespace {

bool InGrid(const GridLayout& gl, int nCol, int nRow)
{
    return nCol >= -1 && nCol < gl.m_nColumnCount && nRow < gl.m_nRowCount;
}

} // namespace

int CUGCtrl::ReadCell(int nCol, int nRow, CUGCell* pCell)
{
    if (!pCell)
        return 1;
    pCell->ClearCell();
    if (!InGrid(m_layout, nCol, nRow))
        return 1;
    if (nRow < 0) {
        pCell->CopyCellFrom(nCol < 0 ? m_layout.m_cornerCell
                                     : m_layout.m_aColumnHeadings[static_cast<std::size_t>(nCol)]);
        return 0;
    }
    int nStoreCol = nCol;
    CGridStore* pStore = nullptr;
    Remap(nCol, &nStoreCol, &pStore);
    return pStore->GetCellProps(nStoreCol, nRow, pCell);
}

int CUGCtrl::WriteCell(int nCol, int nRow, const CUGCell* pCell)
{
    if (!pCell || !InGrid(m_layout, nCol, nRow))
        return 1;
    OnWriteCell(nCol, nRow, pCell);
    if (nRow < 0) {
        CUGCell& target = nCol < 0 ? m_layout.m_cornerCell
                                   : m_layout.m_aColumnHeadings[static_cast<std::size_t>(nCol)];
        target.CopyCellFrom(*pCell);
        return 0;
    }
    int nStoreCol = nCol;
    CGridStore* pStore = nullptr;
    Remap(nCol, &nStoreCol, &pStore);
    return pStore->PutCellProps(nStoreCol, nRow, pCell);
}

int CUGCtrl::ResolveCell(int nCol, int nRow, CUGCell* pCell)
{
    if (!pCell || !InGrid(m_layout, nCol, nRow))
        return 1;
    int nResult = 0;
    if (nRow < 0) {
        pCell->CopyCellFrom(m_layout.m_headingDefault);
        pCell->MergeCellFrom(nCol < 0 ? m_layout.m_cornerCell
                                      : m_layout.m_aColumnHeadings[static_cast<std::size_t>(nCol)]);
    } else if (nCol < 0) {
        pCell->CopyCellFrom(m_layout.m_headingDefault);
        nResult = CurrentStore()->GetCellProps(-1, nRow, pCell);
    } else {
        pCell->CopyCellFrom(m_layout.m_aColumnDefaults[static_cast<std::size_t>(nCol)]);
        const int nIndex = pCell->GetStoreIndex();
        const int nStoreCol = pCell->GetStoreColumn();
        CGridStore* pStore = nIndex >= 0 ? StoreForSlot(nIndex) : CurrentStore();
        nResult = pStore->GetCellProps(nStoreCol >= 0 ? nStoreCol : nCol, nRow, pCell);
    }
    OnResolveCell(nCol, nRow, pCell);
    return nResult;
}

// The write's result is passed on, so a position outside the grid reports 1
// instead of a success that stored nothing.
int CUGCtrl::SetCellText(int nCol, int nRow, std::string_view str)
{
    ReadCell(nCol, nRow, &m_scratch);
    m_scratch.SetText(str);
    return WriteCell(nCol, nRow, &m_scratch);
}

int CUGCtrl::FillCellText(int nCol, int nRow, std::string_view str)
{
    if (nRow >= 0 && InGrid(m_layout, nCol, nRow)) {
        int nStoreCol = nCol;
        CGridStore* pStore = nullptr;
        Remap(nCol, &nStoreCol, &pStore);
        const int nResult = pStore->PutCellText(nStoreCol, nRow, str);
        if (nResult != -1)
            return nResult;
    }
    // Headings, and stores without a text write of their own.
    return SetCellText(nCol, nRow, str);
}

int CUGCtrl::SetCellBackColor(int nCol, int nRow, COLORREF cr)
{
    ReadCell(nCol, nRow, &m_scratch);
    m_scratch.SetBackColor(cr);
    return WriteCell(nCol, nRow, &m_scratch);
}

int CUGCtrl::GetColumnDefaults(int nCol, CUGCell* pCell)
{
    if (!pCell || nCol < 0 || nCol >= m_layout.m_nColumnCount)
        return 1;
    pCell->ClearCell();
    pCell->CopyCellFrom(m_layout.m_aColumnDefaults[static_cast<std::size_t>(nCol)]);
    return 0;
}

int CUGCtrl::SetColumnDefaults(int nCol, const CUGCell* pCell)
{
    if (!pCell || nCol < 0 || nCol >= m_layout.m_nColumnCount)
        return 1;
    m_layout.m_aColumnDefaults[static_cast<std::size_t>(nCol)].CopyCellFrom(*pCell);
    return 0;
}

int CUGCtrl::GetGridDefaults(CUGCell* pCell)
{
    if (!pCell)
        return 1;
    pCell->ClearCell();
    pCell->CopyCellFrom(m_layout.m_gridDefault);
    return 0;
}

int CUGCtrl::SetGridDefaults(const CUGCell* pCell)
{
    if (!pCell)
        return 1;
    m_layout.m_gridDefault.CopyCellFrom(*pCell);
    return 0;
}

int CUGCtrl::GetHeadingDefaults(CUGCell* pCell)
{
    if (!pCell)
        return 1;
    pCell->ClearCell();
    pCell->CopyCellFrom(m_layout.m_headingDefault);
    return 0;
}

int CUGCtrl::SetHeadingDefaults(const CUGCell* pCell)
{
    if (!pCell)
        return 1;
    m_layout.m_headingDefault.CopyCellFrom(*pCell);
    return 0;
}

// The column count is not written: the caller writes it first and sets it
// before loading.
void CUGCtrl::Serialize(CArchive& ar)
{
    auto& defaults = m_layout.m_aColumnDefaults;
    if (ar.IsStoring()) {
        for (const CUGCell& cell : defaults)
            ar.WriteInt32(cell.GetAlignment());
    } else {
        ar.RequireRoomFor(defaults.size(), 4);
        for (CUGCell& cell : defaults)
            cell.SetAlignment(static_cast<short>(ar.ReadInt32()));
    }
}

// ---- cell types -----------------------------------------------------------------

CGridCellType* CUGCtrl::GetCellType(int nId)
{
    if (nId > 0) {
        for (std::size_t i = 1; i < m_cellTypes.size(); ++i) {
            if (m_cellTypes[i]->GetTypeId() == nId)
                return m_cellTypes[i].get();
        }
    }
    return m_cellTypes.front().get();
}

int CUGCtrl::AddCellType(std::unique_ptr<CGridCellType> pType)
{
    if (!pType)
        return -1;
    pType->Attach(this, &m_layout);
    const int nId = pType->GetTypeId();
    m_cellTypes.push_back(std::move(pType));
    return nId;
}

int CUGCtrl::CompareCells(const CUGCell* pCellA, const CUGCell* pCellB)
{
    return std::strcoll(pCellA->GetText().c_str(), pCellB->GetText().c_str());
}

// ---- appearance -------------------------------------------------------------------

void CUGCtrl::OnSysColorChange()
{
    const GridSysColors now = GetGridSysColors();
    const auto follow = [&](CUGCell& cell, COLORREF (CUGCell::*pGet)() const,
                            void (CUGCell::*pSet)(COLORREF), GridSysColor which) {
        const auto i = static_cast<std::size_t>(which);
        if ((cell.*pGet)() == m_sysColors[i])
            (cell.*pSet)(now[i]);
    };
    const auto followData = [&](CUGCell& cell) {
        follow(cell, &CUGCell::GetTextColor, &CUGCell::SetTextColor, GridSysColor::windowText);
        follow(cell, &CUGCell::GetBackColor, &CUGCell::SetBackColor, GridSysColor::window);
        follow(cell, &CUGCell::GetHighlightTextColor, &CUGCell::SetHighlightTextColor,
               GridSysColor::highlightText);
        follow(cell, &CUGCell::GetHighlightBackColor, &CUGCell::SetHighlightBackColor,
               GridSysColor::highlight);
    };
    const auto followHeading = [&](CUGCell& cell) {
        follow(cell, &CUGCell::GetTextColor, &CUGCell::SetTextColor, GridSysColor::buttonText);
        follow(cell, &CUGCell::GetBackColor, &CUGCell::SetBackColor, GridSysColor::buttonFace);
    };
    if (now != m_sysColors) {
        GridLayout& gl = m_layout;
        followData(gl.m_gridDefault);
        for (CUGCell& cell : gl.m_aColumnDefaults)
            followData(cell);
        followHeading(gl.m_headingDefault);
        followHeading(gl.m_cornerCell);
        for (CUGCell& cell : gl.m_aColumnHeadings)
            followHeading(cell);
        m_sysColors = now;
        gl.m_currentCell.ClearCell();
        ResolveCell(gl.m_nCurrentColumn, gl.m_nCurrentRow, &gl.m_currentCell);
    }
    for (const auto& pType : m_cellTypes)
        pType->OnSystemColorChange();
    RedrawAll();
}

int CUGCtrl::EnableGridPaint(int bEnable)
{
    m_layout.m_bPaintEnabled = bEnable == 1 ? 1 : 0;
    if (m_layout.m_bPaintEnabled)
        RedrawAll();
    return 0;
}

int CUGCtrl::SetGridFont(const CGridFont& font)
{
    m_layout.m_font = font;
    if (m_pHost)
        m_pHost->OnGridFontChanged();
    Layout();
    return 0;
}

int CUGCtrl::SetDragMode(int nMode)
{
    if (nMode < 0 || nMode > 3)
        return 1;
    m_layout.m_nDragMode = nMode;
    return 0;
}

int CUGCtrl::UseOffscreenPaint(int bOn)
{
    if (bOn < 0 || bOn > 1)
        return 1;
    m_layout.m_bOffscreenPaint = bOn;
    if (m_pHost && m_pHost->SetOffscreenPaint(bOn) != 0) {
        m_layout.m_bOffscreenPaint = 0;
        return 1;
    }
    return 0;
}

int CUGCtrl::SetCurrentCellStyle(int nStyle)
{
    if (nStyle < 0 || nStyle > 3)
        return 1;
    m_layout.m_nCurrentCellStyle = nStyle;
    return 0;
}

int CUGCtrl::SetUserSizingMode(int nMode)
{
    if (nMode < 0 || nMode > 2)
        return 1;
    m_layout.m_nUserSizingMode = nMode;
    return 0;
}

int CUGCtrl::SetInputSource(int nSource)
{
    if (nSource < kInputProgram || nSource > kInputMouseDrag)
        return 1;
    m_layout.m_nInputSource = nSource;
    return 0;
}

// With a window the host repaints everything and the hints are spent; with
// none they stay recorded for whoever looks.
void CUGCtrl::RedrawAll()
{
    m_hints.InvalidateAll();
    if (m_pHost) {
        m_pHost->InvalidateAll();
        m_hints.Clear();
    }
}

void CUGCtrl::RedrawCell(int nCol, int nRow)
{
    RedrawRange({nCol, nRow, nCol, nRow});
}

void CUGCtrl::RedrawRange(const CGridRange& range)
{
    m_hints.AddRange(range);
    if (m_pHost)
        m_pHost->UpdateChildren();
}

} // namespace hpa
