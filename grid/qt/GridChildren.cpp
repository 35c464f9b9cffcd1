#include "grid/qt/GridChildren.h"

#include "grid/GridDraw.h"
#include "grid/UGCtrl.h"
#include "grid/qt/GridWnd.h"
#include "grid/render/QtGridDC.h"
#include "grid/render/QtGridFont.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace hpa {

namespace {

constexpr int kWheelStep = 120; // one notch of a common wheel
constexpr int kRowsPerNotch = 3;

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

} // namespace

// ---- event translation ----------------------------------------------------------------

unsigned GridModifiers(Qt::KeyboardModifiers modifiers)
{
    unsigned n = 0;
    if (modifiers & Qt::ShiftModifier)
        n |= kGridModShift;
    if (modifiers & Qt::ControlModifier)
        n |= kGridModControl;
    if (modifiers & Qt::AltModifier)
        n |= kGridModAlt;
    return n;
}

unsigned GridButtons(Qt::MouseButtons buttons)
{
    unsigned n = 0;
    if (buttons & Qt::LeftButton)
        n |= kGridButtonLeft;
    if (buttons & Qt::RightButton)
        n |= kGridButtonRight;
    if (buttons & Qt::MiddleButton)
        n |= kGridButtonMiddle;
    return n;
}

int GridKeyCode(int nQtKey)
{
    if ((nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z) ||
        (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9))
        return nQtKey; // the same ASCII codes
    if (nQtKey >= Qt::Key_F1 && nQtKey <= Qt::Key_F12)
        return kGridKeyF1 + (nQtKey - Qt::Key_F1);
    switch (nQtKey) {
    case Qt::Key_Backspace:
        return kGridKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kGridKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kGridKeyReturn;
    case Qt::Key_Shift:
        return kGridKeyShift;
    case Qt::Key_Control:
        return kGridKeyControl;
    case Qt::Key_Alt:
        return kGridKeyMenu;
    case Qt::Key_Escape:
        return kGridKeyEscape;
    case Qt::Key_Space:
        return kGridKeySpace;
    case Qt::Key_PageUp:
        return kGridKeyPageUp;
    case Qt::Key_PageDown:
        return kGridKeyPageDown;
    case Qt::Key_End:
        return kGridKeyEnd;
    case Qt::Key_Home:
        return kGridKeyHome;
    case Qt::Key_Left:
        return kGridKeyLeft;
    case Qt::Key_Up:
        return kGridKeyUp;
    case Qt::Key_Right:
        return kGridKeyRight;
    case Qt::Key_Down:
        return kGridKeyDown;
    case Qt::Key_Insert:
        return kGridKeyInsert;
    case Qt::Key_Delete:
        return kGridKeyDelete;
    default:
        return 0;
    }
}

// ---- common child ---------------------------------------------------------------------

CGridChildWnd::CGridChildWnd(CGridWnd& wnd, int nId, const char* pszName)
    : QWidget(&wnd), m_wnd(wnd)
{
    setObjectName(QLatin1String(pszName));
    setProperty(kGridControlIdProperty, nId);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

// ---- cell area ---------------------------------------------------------------------------

CGridArea::CGridArea(CGridWnd& wnd) : CGridChildWnd(wnd, kGridIdCellArea, "CGridArea")
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CGridArea::Invalidate()
{
    m_bInvalid = true;
    update();
}

// A new pixmap starts as a paint request would leave it; while painting is
// disabled one forced pass fills it so the frozen picture is not blank.
bool CGridArea::EnsureSurface()
{
    const qreal dpr = devicePixelRatioF();
    const QSize want = QSize(std::max(width(), 1), std::max(height(), 1)) * dpr;
    if (!m_surface.isNull() && m_surface.size() == want)
        return true;
    m_surface = QPixmap(want);
    if (m_surface.isNull())
        return false;
    m_surface.setDevicePixelRatio(dpr);
    CUGCtrl& ctrl = m_wnd.Ctrl();
    m_surface.fill(ToQColor(
        CellColorOr(ctrl.GetGridLayout().m_gridDefault.GetBackColor(), GridSysColor::window)));
    m_bInvalid = true;
    if (!ctrl.GetGridLayout().m_bPaintEnabled) {
        QPainter painter(&m_surface);
        CQtGridDC dc(&painter, &m_surface);
        m_wnd.Painter().SetFocusFrameShown(m_wnd.FocusFrameShown());
        ctrl.GetRedrawHints().InvalidateAll();
        m_wnd.Painter().DrawingPass(dc, true);
        m_bInvalid = false;
    }
    return true;
}

void CGridArea::PaintRequest()
{
    QPainter painter(&m_surface);
    CQtGridDC dc(&painter, &m_surface);
    dc.SetClipBox(QRect(0, 0, width(), height()));
    m_wnd.Painter().SetFocusFrameShown(m_wnd.FocusFrameShown());
    m_wnd.Painter().PaintCellArea(dc);
    m_bInvalid = false;
}

void CGridArea::UpdateFromHints()
{
    const qreal dpr = devicePixelRatioF();
    const bool bSized =
        !m_surface.isNull() &&
        m_surface.size() == QSize(std::max(width(), 1), std::max(height(), 1)) * dpr;
    if (m_bInvalid || !bSized || !isVisible()) {
        // A full repaint is due anyway; the hints are part of it.
        m_wnd.Ctrl().GetRedrawHints().Clear();
        Invalidate();
        return;
    }
    QRect rcChanged;
    {
        QPainter painter(&m_surface);
        CQtGridDC dc(&painter, &m_surface);
        m_wnd.Painter().SetFocusFrameShown(m_wnd.FocusFrameShown());
        m_wnd.Painter().UpdateCellArea(dc);
        rcChanged = dc.Touched();
    }
    if (!rcChanged.isEmpty())
        update(rcChanged);
}

void CGridArea::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(this);
    if (!EnsureSurface()) {
        painter.fillRect(rect(), palette().base());
        return;
    }
    if (m_bInvalid)
        PaintRequest();
    const QRect rc = pEvent->rect();
    const qreal dpr = m_surface.devicePixelRatio();
    painter.drawPixmap(QRectF(rc), m_surface,
                       QRectF(rc.x() * dpr, rc.y() * dpr, rc.width() * dpr, rc.height() * dpr));
}

void CGridArea::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    m_bInvalid = true;
}

void CGridArea::keyPressEvent(QKeyEvent* pEvent)
{
    CGridInput& input = m_wnd.Input();
    const unsigned nMods = GridModifiers(pEvent->modifiers());
    int nKey = GridKeyCode(pEvent->key());
    // Tab and Enter belong to a dialog the grid sits in.
    if (nKey != 0 && !input.WantsKey(nKey)) {
        pEvent->ignore();
        return;
    }
    if (nKey != 0)
        input.OnKeyDown(&nKey, nMods);
    const QString strText = pEvent->text();
    for (QChar ch : strText) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            continue;
        int nChar = ch.unicode();
        input.OnChar(&nChar, nMods);
    }
    if (nKey == 0 && strText.isEmpty())
        pEvent->ignore();
}

void CGridArea::Button(QMouseEvent* pEvent, GridMouseAction action)
{
    const QPoint pt = pEvent->position().toPoint();
    m_wnd.Input().OnCellAreaButton(GridButtons(pEvent->button()), action, pt.x(), pt.y(),
                                   GridModifiers(pEvent->modifiers()));
    m_wnd.KickAutoScroll();
}

void CGridArea::mousePressEvent(QMouseEvent* pEvent)
{
    Button(pEvent, GridMouseAction::down);
}

void CGridArea::mouseReleaseEvent(QMouseEvent* pEvent)
{
    Button(pEvent, GridMouseAction::up);
}

void CGridArea::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    Button(pEvent, GridMouseAction::doubleClick);
}

void CGridArea::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    m_wnd.Input().OnCellAreaMouseMove(pt.x(), pt.y(), GridButtons(pEvent->buttons()),
                                      GridModifiers(pEvent->modifiers()));
    m_wnd.KickAutoScroll();
}

// The wheel scrolls the view three rows (or columns) per notch; the current
// cell stays where it is, as with the scroll bars.
void CGridArea::wheelEvent(QWheelEvent* pEvent)
{
    const QPoint delta = pEvent->angleDelta();
    const bool bVertical = std::abs(delta.y()) >= std::abs(delta.x());
    m_nWheelRest += bVertical ? delta.y() : delta.x();
    CUGCtrl& ctrl = m_wnd.Ctrl();
    while (std::abs(m_nWheelRest) >= kWheelStep) {
        const bool bBack = m_nWheelRest > 0;
        m_nWheelRest += bBack ? -kWheelStep : kWheelStep;
        for (int i = 0; i < kRowsPerNotch; ++i) {
            // At either end the scroll is refused and the wheel does nothing.
            if (bVertical)
                (void)ctrl.ScrollRows(bBack ? kMoveUp : kMoveDown);
            else
                (void)ctrl.ScrollColumns(bBack ? kMoveLeft : kMoveRight);
        }
    }
    pEvent->accept();
}

void CGridArea::focusInEvent(QFocusEvent* pEvent)
{
    QWidget::focusInEvent(pEvent);
    m_wnd.Input().OnFocusIn();
}

void CGridArea::focusOutEvent(QFocusEvent* pEvent)
{
    QWidget::focusOutEvent(pEvent);
    if (m_wnd.Input().IsDragging())
        m_wnd.Input().OnCaptureLost();
    m_wnd.Input().OnFocusOut();
}

void CGridArea::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (m_wnd.Input().IsDragging())
        m_wnd.Input().OnCaptureLost();
}

// ---- headings and corner ---------------------------------------------------------------

CGridHeadingWnd::CGridHeadingWnd(CGridWnd& wnd, int nId, const char* pszName, int nSection)
    : CGridChildWnd(wnd, nId, pszName), m_nSection(nSection)
{
}

void CGridHeadingWnd::Button(QMouseEvent* pEvent, GridMouseAction action)
{
    const QPoint pt = pEvent->position().toPoint();
    m_wnd.Input().OnHeadingButton(m_nSection, GridButtons(pEvent->button()), action, pt.x(), pt.y(),
                                  GridModifiers(pEvent->modifiers()));
    UpdateCursor(pt.x(), pt.y());
}

void CGridHeadingWnd::mousePressEvent(QMouseEvent* pEvent)
{
    Button(pEvent, GridMouseAction::down);
}

void CGridHeadingWnd::mouseReleaseEvent(QMouseEvent* pEvent)
{
    Button(pEvent, GridMouseAction::up);
}

void CGridHeadingWnd::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    Button(pEvent, GridMouseAction::doubleClick);
}

void CGridHeadingWnd::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    m_wnd.Input().OnHeadingMouseMove(m_nSection, pt.x(), pt.y(), GridButtons(pEvent->buttons()),
                                     GridModifiers(pEvent->modifiers()));
    UpdateCursor(pt.x(), pt.y());
}

void CGridHeadingWnd::UpdateCursor(int x, int y)
{
    switch (m_wnd.Input().CursorAt(m_nSection, x, y)) {
    case GridCursor::sizeWE:
        setCursor(Qt::SizeHorCursor);
        break;
    case GridCursor::sizeNS:
        setCursor(Qt::SizeVerCursor);
        break;
    case GridCursor::sizeNWSE:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case GridCursor::arrow:
        unsetCursor();
        break;
    }
}

CGridTopHeading::CGridTopHeading(CGridWnd& wnd)
    : CGridHeadingWnd(wnd, kGridIdTopHeading, "CGridTopHeading", kSectionTopHeading)
{
}

void CGridTopHeading::paintEvent(QPaintEvent* /*pEvent*/)
{
    QPainter painter(this);
    CQtGridDC dc(&painter);
    m_wnd.Painter().PaintTopHeading(dc, width(), height());
}

CGridSideHeading::CGridSideHeading(CGridWnd& wnd)
    : CGridHeadingWnd(wnd, kGridIdSideHeading, "CGridSideHeading", kSectionSideHeading)
{
}

void CGridSideHeading::paintEvent(QPaintEvent* /*pEvent*/)
{
    QPainter painter(this);
    CQtGridDC dc(&painter);
    m_wnd.Painter().PaintSideHeading(dc, width(), height());
}

CGridCorner::CGridCorner(CGridWnd& wnd)
    : CGridHeadingWnd(wnd, kGridIdCorner, "CGridCorner", kSectionCorner)
{
}

void CGridCorner::paintEvent(QPaintEvent* /*pEvent*/)
{
    QPainter painter(this);
    CQtGridDC dc(&painter);
    m_wnd.Painter().PaintCorner(dc, width(), height());
}

// ---- scroll tip --------------------------------------------------------------------------

CGridScrollTip::CGridScrollTip(QWidget* pParent) : QWidget(pParent)
{
    setObjectName(QStringLiteral("CGridScrollTip"));
    setProperty(kGridControlIdProperty, kGridIdScrollTip);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CGridScrollTip::ShowAt(const std::string& strText, QPoint ptPointer, bool bVertical)
{
    m_strText = QString::fromStdString(strText);
    const QFontMetrics metrics(font());
    const int w = metrics.horizontalAdvance(m_strText) + 8;
    const int h = metrics.height() + 4;
    QPoint pt = bVertical ? QPoint(ptPointer.x() - w - 2, ptPointer.y() - h / 2)
                          : QPoint(ptPointer.x() - w / 2, ptPointer.y() - h - 2);
    const QWidget* pParent = parentWidget();
    if (pParent) {
        pt.setX(std::clamp(pt.x(), 0, std::max(pParent->width() - w, 0)));
        pt.setY(std::clamp(pt.y(), 0, std::max(pParent->height() - h, 0)));
    }
    setGeometry(pt.x(), pt.y(), w, h);
    raise();
    show();
    update();
}

void CGridScrollTip::paintEvent(QPaintEvent* /*pEvent*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().toolTipBase());
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter, m_strText);
}

} // namespace hpa
