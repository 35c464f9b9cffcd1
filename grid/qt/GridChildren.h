#pragma once
// The child windows of CGridWnd. Each paints its section through the
// control's CGridPainter and passes keys and mouse events, in its own
// pixels, to the control's CGridInput.
#include "grid/GridInput.h"

#include <QPixmap>
#include <QWidget>

#include <string>

namespace hpa {

class CGridWnd;

// Qt's modifier keys, buttons and keys in the input engine's terms.
unsigned GridModifiers(Qt::KeyboardModifiers modifiers);
unsigned GridButtons(Qt::MouseButtons buttons);
// The grid's code for a key, or 0 for keys the grid has no code for.
int GridKeyCode(int nQtKey);

class CGridChildWnd : public QWidget {
    Q_OBJECT
protected:
    CGridChildWnd(CGridWnd& wnd, int nId, const char* pszName);
    CGridWnd& m_wnd;
};

// The cell area. Its pixels live in a pixmap that the grid keeps between
// paints: an update moves them and draws only the
// exposed and changed cells into it; a paint event copies it to the screen
// and repaints it first only when it was invalidated.
class CGridArea : public CGridChildWnd {
    Q_OBJECT
public:
    explicit CGridArea(CGridWnd& wnd);

    // The next paint event repaints every cell (a paint request for the
    // whole area).
    void Invalidate();
    // Carries out the control's redraw hints (scroll and draw) on the
    // retained pixels and schedules what changed for the screen.
    void UpdateFromHints();
    // Creates the pixmap for the present size (at least 1 x 1) when it has
    // none or the wrong size; false when it cannot be made.
    bool EnsureSurface();
    const QPixmap& Surface() const { return m_surface; }
    bool IsInvalid() const { return m_bInvalid; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    void Button(QMouseEvent* pEvent, GridMouseAction action);
    void PaintRequest();

    QPixmap m_surface;
    bool m_bInvalid = true;
    int m_nWheelRest = 0;
};

// The top and side headings and the corner button share their mouse
// handling: clicks and moves go to the input engine with the section, and
// the pointer takes the shape the engine asks for.
class CGridHeadingWnd : public CGridChildWnd {
    Q_OBJECT
protected:
    CGridHeadingWnd(CGridWnd& wnd, int nId, const char* pszName, int nSection);
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    void Button(QMouseEvent* pEvent, GridMouseAction action);
    void UpdateCursor(int x, int y);
    int m_nSection;
};

class CGridTopHeading : public CGridHeadingWnd {
    Q_OBJECT
public:
    explicit CGridTopHeading(CGridWnd& wnd);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};

class CGridSideHeading : public CGridHeadingWnd {
    Q_OBJECT
public:
    explicit CGridSideHeading(CGridWnd& wnd);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};

class CGridCorner : public CGridHeadingWnd {
    Q_OBJECT
public:
    explicit CGridCorner(CGridWnd& wnd);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};

// The small window that shows which row (or column) a dragged thumb points
// at.
class CGridScrollTip : public QWidget {
    Q_OBJECT
public:
    explicit CGridScrollTip(QWidget* pParent);
    QString Text() const { return m_strText; }
    // Shows the text next to the pointer (parent coordinates): left of it
    // and vertically centred for the vertical bar, centred above it for the
    // horizontal one; at least 4 pixels wider than the text and kept inside
    // the parent.
    void ShowAt(const std::string& strText, QPoint ptPointer, bool bVertical);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QString m_strText;
};

} // namespace hpa
