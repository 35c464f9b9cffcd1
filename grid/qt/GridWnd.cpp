#include "grid/qt/GridWnd.h"

#include "grid/UGCtrl.h"
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridClipboard.h"
#include "grid/qt/GridFindDialog.h"
#include "grid/qt/QtGridDC.h"
#include "grid/qt/QtGridFont.h"
#include "platform/qt/QtMessages.h"

#include <QApplication>
#include <QCursor>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace hpa {

const char* const kGridControlIdProperty = "controlId";

namespace {

constexpr int kMinAutoScrollMs = 15;

} // namespace

// ---- construction -------------------------------------------------------------------

CGridWnd::CGridWnd(CUGCtrl& ctrl)
    : m_ctrl(ctrl), m_input(ctrl), m_painter(ctrl), m_pMessages(std::make_unique<CQtMessages>())
{
    setFrameStyle(QFrame::NoFrame);
    CreateChildren();
    m_autoScroll.setSingleShot(false);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] { OnAutoScrollTimer(); });
    m_input.SetShowMenu([this](int nSection, CGridPoint pt) { ShowMenuAt(nSection, pt); });

    // The platform's own scroll bar thickness, unless the program chose one.
    const int nExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const GridLayout& gl = ctrl.GetGridLayout();
    if (nExtent > 0 && gl.m_nVScrollWidth == kDefaultScrollBarSize)
        ctrl.SetVScrollBarWidth(nExtent);
    if (nExtent > 0 && gl.m_nHScrollHeight == kDefaultScrollBarSize)
        ctrl.SetHScrollBarHeight(nExtent);

    ctrl.SetHost(this);
    // The cells take the desktop's colours from the start.
    LoadGridSysColors(QGuiApplication::palette());
    ctrl.OnSysColorChange();
    InstallFindDialog(ctrl, this, m_pMessages.get());
    ctrl.SetClipboard(&QtGridClipboard());
    ApplyVScroll();
    ApplyHScroll();
}

CGridWnd::~CGridWnd()
{
    m_autoScroll.stop();
    if (!m_bDetached) {
        m_ctrl.CloseFindDialog();
        if (m_ctrl.GetHost() == this)
            m_ctrl.SetHost(nullptr);
    }
    // The children go while the input engine they report to still exists:
    // left to the base destructor, a focused cell area would get its focus
    // out event after this window's members are gone.
    DeleteChildren();
}

// Called from the control's destructor: its members still exist, but
// nothing may reach it afterwards, so the children (whose events would)
// go now.
void CGridWnd::OnControlDestroyed()
{
    m_autoScroll.stop();
    m_ctrl.CloseFindDialog();
    m_ctrl.SetHost(nullptr);
    m_bDetached = true;
    DeleteChildren();
}

void CGridWnd::DeleteChildren()
{
    setFocusProxy(nullptr);
    delete m_pArea;
    delete m_pTop;
    delete m_pSide;
    delete m_pCorner;
    delete m_pVScroll;
    delete m_pHScroll;
    delete m_pTip;
    delete m_pMenu;
    m_pArea = nullptr;
    m_pTop = nullptr;
    m_pSide = nullptr;
    m_pCorner = nullptr;
    m_pVScroll = nullptr;
    m_pHScroll = nullptr;
    m_pTip = nullptr;
    m_pMenu = nullptr;
}

// The seven children in the order (and with the ids) the control has
// always had.
void CGridWnd::CreateChildren()
{
    m_pArea = new CGridArea(*this);
    m_pTop = new CGridTopHeading(*this);
    m_pSide = new CGridSideHeading(*this);
    m_pCorner = new CGridCorner(*this);

    m_pVScroll = new QScrollBar(Qt::Vertical, this);
    m_pVScroll->setObjectName(QStringLiteral("VScrollBar"));
    m_pVScroll->setProperty(kGridControlIdProperty, kGridIdVScroll);
    m_pHScroll = new QScrollBar(Qt::Horizontal, this);
    m_pHScroll->setObjectName(QStringLiteral("HScrollBar"));
    m_pHScroll->setProperty(kGridControlIdProperty, kGridIdHScroll);
    for (QScrollBar* pBar : {m_pVScroll, m_pHScroll}) {
        pBar->setFocusPolicy(Qt::NoFocus);
        pBar->installEventFilter(this);
    }
    connect(m_pVScroll, &QScrollBar::actionTriggered, this, [this](int n) { OnVAction(n); });
    connect(m_pVScroll, &QScrollBar::sliderReleased, this, [this] { OnVReleased(); });
    connect(m_pHScroll, &QScrollBar::actionTriggered, this, [this](int n) { OnHAction(n); });
    connect(m_pHScroll, &QScrollBar::sliderReleased, this, [this] { OnHReleased(); });

    m_pTip = new CGridScrollTip(this);
    m_pMenu = new QMenu(this);
    connect(m_pMenu, &QMenu::triggered, this, [this](QAction* pAction) {
        const int nId = pAction->data().toInt();
        if (nId >= 1000)
            m_input.OnMenuCommand(nId);
    });
    setFocusProxy(m_pArea);
}

void CGridWnd::Setup(QWidget* pFontSource)
{
    m_ctrl.SetGridFont(CQtFontCache::FromQFont(pFontSource->font()));
    SyncClientSize();
    m_ctrl.OnGridSetup();
}

int CGridWnd::CreateInParent(QWidget* pParent, const QRect& rc, int nId, bool bVisible)
{
    if (!pParent)
        return 0;
    setParent(pParent);
    setProperty(kGridControlIdProperty, nId);
    setGeometry(rc);
    Setup(pParent);
    setVisible(bVisible);
    return 1;
}

int CGridWnd::AttachToDialogItem(QWidget* pDialog, int nId)
{
    if (!pDialog)
        return 1;
    const QString strId = QString::number(nId);
    const auto children = pDialog->findChildren<QWidget*>();
    for (QWidget* pChild : children) {
        const QVariant id = pChild->property(kGridControlIdProperty);
        if (pChild != this &&
            ((id.isValid() && id.toInt() == nId) || pChild->objectName() == strId))
            return AttachToDialogItem(pChild);
    }
    return 1;
}

// The placeholder stays, hidden, so whoever holds a pointer to it is safe.
int CGridWnd::AttachToDialogItem(QWidget* pPlaceholder)
{
    if (!pPlaceholder || !pPlaceholder->parentWidget() || pPlaceholder == this)
        return 1;
    QWidget* pParent = pPlaceholder->parentWidget();
    setParent(pParent);
    const QVariant id = pPlaceholder->property(kGridControlIdProperty);
    setProperty(kGridControlIdProperty, id.isValid() ? id : QVariant(pPlaceholder->objectName()));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QLayoutItem* pOld =
        pParent->layout() ? pParent->layout()->replaceWidget(pPlaceholder, this) : nullptr;
    if (pOld)
        delete pOld;
    else
        setGeometry(pPlaceholder->geometry());
    const bool bVisible = !pPlaceholder->isHidden();
    pPlaceholder->hide();
    Setup(pPlaceholder->window());
    setVisible(bVisible);
    return 0;
}

// ---- size and layout ----------------------------------------------------------------------

void CGridWnd::SyncClientSize()
{
    if (m_bDetached)
        return;
    const QRect rc = contentsRect();
    if (rc.width() != m_ctrl.ClientWidth() || rc.height() != m_ctrl.ClientHeight())
        m_ctrl.SetClientSize(rc.width(), rc.height());
}

void CGridWnd::resizeEvent(QResizeEvent* pEvent)
{
    QFrame::resizeEvent(pEvent);
    SyncClientSize();
}

void CGridWnd::showEvent(QShowEvent* pEvent)
{
    QFrame::showEvent(pEvent);
    SyncClientSize();
}

void CGridWnd::PlaceChildren(const CGridChildRects& rects)
{
    const QPoint o = contentsRect().topLeft();
    auto place = [&](QWidget* pChild, const CGridRect& rc) {
        pChild->setGeometry(o.x() + rc.left, o.y() + rc.top, std::max(rc.Width(), 0),
                            std::max(rc.Height(), 0));
    };
    place(m_pArea, rects.rcCellArea);
    place(m_pTop, rects.rcTopHeading);
    place(m_pSide, rects.rcSideHeading);
    place(m_pCorner, rects.rcCorner);
    place(m_pVScroll, rects.rcVScroll);
    place(m_pHScroll, rects.rcHScroll);
    m_pVScroll->setVisible(rects.bVScrollVisible);
    m_pHScroll->setVisible(rects.bHScrollVisible);
}

void CGridWnd::paintEvent(QPaintEvent* pEvent)
{
    {
        QPainter painter(this);
        CQtGridDC dc(&painter);
        CGridPainter::PaintControlBackground(dc, {0, 0, width(), height()});
    }
    QFrame::paintEvent(pEvent);
}

void CGridWnd::changeEvent(QEvent* pEvent)
{
    QFrame::changeEvent(pEvent);
    // The desktop's colours changed (a new application palette reaches
    // every window): the cells follow them.
    if (pEvent->type() == QEvent::PaletteChange && !m_bDetached) {
        LoadGridSysColors(QGuiApplication::palette());
        m_ctrl.OnSysColorChange();
    }
}

// ---- repainting -----------------------------------------------------------------------------

bool CGridWnd::FocusFrameShown() const
{
    return m_input.HasFocus() || m_ctrl.IsFindDialogOpen() != 0;
}

void CGridWnd::UpdateChildren()
{
    CGridRedrawHints& hints = m_ctrl.GetRedrawHints();
    const bool bHeadings = hints.HeadingsChanged();
    if (hints.IsFullRedraw())
        m_pArea->Invalidate();
    else if (!hints.IsEmpty())
        m_pArea->UpdateFromHints();
    hints.Clear();
    if (bHeadings) {
        m_pTop->update();
        m_pSide->update();
    }
}

void CGridWnd::InvalidateAll()
{
    m_ctrl.GetRedrawHints().Clear();
    m_pArea->Invalidate();
    m_pTop->update();
    m_pSide->update();
    m_pCorner->update();
    update();
}

void CGridWnd::OnGridFontChanged()
{
    m_pTip->setFont(CQtFontCache::ToQFont(m_ctrl.GetGridFont()));
    m_pTop->update();
    m_pSide->update();
    m_pCorner->update();
}

int CGridWnd::SetOffscreenPaint(int bOn)
{
    if (!bOn)
        return 0;
    return m_pArea->EnsureSurface() ? 0 : 1;
}

std::unique_ptr<CGridDC> CGridWnd::CreateMeasureDC()
{
    return std::make_unique<CQtGridDC>();
}

// The focus goes into a window that has the keyboard: when the grid's
// window does not (the Find dialog just closed, say), it is activated
// first. On X without a window manager the keyboard would otherwise stay
// with no window at all.
void CGridWnd::FocusCellArea()
{
    QWidget* pWindow = window();
    if (pWindow->isVisible() && QGuiApplication::focusWindow() != pWindow->windowHandle())
        pWindow->activateWindow();
    m_pArea->setFocus(Qt::OtherFocusReason);
}

// ---- scroll bars ------------------------------------------------------------------------------

namespace {

// The platform's scroll range (min .. max with a page) in QScrollBar terms:
// the largest position is max - (page - 1).
void ApplyInfo(QScrollBar* pBar, const CGridScrollInfo& info)
{
    const QSignalBlocker block(pBar);
    const int nTop = std::max(info.nMin, info.nMax - std::max(info.nPage - 1, 0));
    pBar->setRange(info.nMin, nTop);
    pBar->setPageStep(std::max(info.nPage, 1));
    pBar->setSingleStep(1);
    // A thumb being dragged stays under the pointer until it is let go.
    if (!pBar->isSliderDown())
        pBar->setValue(info.nPos);
}

bool ToScrollCode(int nAction, GridScrollCode* pCode)
{
    switch (nAction) {
    case QAbstractSlider::SliderSingleStepSub:
        *pCode = GridScrollCode::lineUp;
        return true;
    case QAbstractSlider::SliderSingleStepAdd:
        *pCode = GridScrollCode::lineDown;
        return true;
    case QAbstractSlider::SliderPageStepSub:
        *pCode = GridScrollCode::pageUp;
        return true;
    case QAbstractSlider::SliderPageStepAdd:
        *pCode = GridScrollCode::pageDown;
        return true;
    case QAbstractSlider::SliderToMinimum:
        *pCode = GridScrollCode::top;
        return true;
    case QAbstractSlider::SliderToMaximum:
        *pCode = GridScrollCode::bottom;
        return true;
    case QAbstractSlider::SliderMove:
        *pCode = GridScrollCode::thumbTrack;
        return true;
    default:
        return false;
    }
}

} // namespace

void CGridWnd::UpdateScrollBars()
{
    ApplyVScroll();
    ApplyHScroll();
}

void CGridWnd::ApplyVScroll()
{
    ApplyInfo(m_pVScroll, m_ctrl.GetVScrollInfo());
}

void CGridWnd::ApplyHScroll()
{
    ApplyInfo(m_pHScroll, m_ctrl.GetHScrollInfo());
}

// Called before the bar takes the new position: the bar is set back to
// what the control did (it may have refused or vetoed the scroll).
void CGridWnd::OnVAction(int nAction)
{
    GridScrollCode code;
    if (!ToScrollCode(nAction, &code))
        return;
    std::string strTip;
    if (m_ctrl.OnVScrollBar(code, m_pVScroll->sliderPosition(), &strTip))
        ShowTip(true, strTip);
    if (code != GridScrollCode::thumbTrack)
        ApplyVScroll();
}

void CGridWnd::OnHAction(int nAction)
{
    GridScrollCode code;
    if (!ToScrollCode(nAction, &code))
        return;
    std::string strTip;
    if (m_ctrl.OnHScrollBar(code, m_pHScroll->sliderPosition(), &strTip))
        ShowTip(false, strTip);
    if (code != GridScrollCode::thumbTrack)
        ApplyHScroll();
}

void CGridWnd::OnVReleased()
{
    m_ctrl.OnVScrollBar(GridScrollCode::thumbPosition, m_pVScroll->sliderPosition(), nullptr);
    m_pTip->hide();
    ApplyVScroll();
}

void CGridWnd::OnHReleased()
{
    m_ctrl.OnHScrollBar(GridScrollCode::thumbPosition, m_pHScroll->sliderPosition(), nullptr);
    m_pTip->hide();
    ApplyHScroll();
}

void CGridWnd::ShowTip(bool bVertical, const std::string& strTip)
{
    m_pTip->ShowAt(strTip, mapFromGlobal(QCursor::pos()), bVertical);
}

// A wheel over a scroll bar scrolls like one over the cells (the bar's own
// wheel handling would only move the thumb).
bool CGridWnd::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Wheel && (pWatched == m_pVScroll || pWatched == m_pHScroll)) {
        QCoreApplication::sendEvent(m_pArea, pEvent);
        return true;
    }
    return QFrame::eventFilter(pWatched, pEvent);
}

// ---- input helpers ------------------------------------------------------------------------------

void CGridWnd::KickAutoScroll()
{
    if (!m_input.IsAutoScrolling()) {
        m_autoScroll.stop();
        return;
    }
    if (!m_autoScroll.isActive())
        m_autoScroll.start(std::max(m_input.AutoScrollDelay(), kMinAutoScrollMs));
}

void CGridWnd::OnAutoScrollTimer()
{
    if (m_input.IsAutoScrolling())
        m_input.AutoScrollStep();
    if (!m_input.IsAutoScrolling())
        m_autoScroll.stop();
    else
        m_autoScroll.setInterval(std::max(m_input.AutoScrollDelay(), kMinAutoScrollMs));
}

void CGridWnd::ShowMenuAt(int nSection, CGridPoint pt)
{
    if (m_pMenu->isEmpty())
        return;
    QWidget* pChild = m_pArea;
    if (nSection == kSectionTopHeading)
        pChild = m_pTop;
    else if (nSection == kSectionSideHeading)
        pChild = m_pSide;
    else if (nSection == kSectionCorner)
        pChild = m_pCorner;
    m_pMenu->popup(pChild->mapToGlobal(QPoint(pt.x, pt.y)));
}

void CGridWnd::OnFindReplace(CGridFindDialog* pDialog)
{
    m_ctrl.GetFind().OnFindMessage(pDialog);
}

} // namespace hpa
