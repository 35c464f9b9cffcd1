#pragma once
// The device context the grid draws and measures through. The core decides
// what goes where; a QPainter implementation (screen, off-screen pixmap,
// printer, PDF) or a recorder in tests carries it out.
#include "grid/UGCell.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace hpa {

// Rectangles have exclusive right and bottom edges.
struct CGridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const CGridRect&) const = default;
};

struct CGridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CGridPoint&) const = default;
};

struct CGridSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const CGridSize&) const = default;
};

// A font description. A negative height is the character height in pixels
// (as in a logical font), a positive one the cell height.
struct CGridFont {
    std::string strFace;
    int nHeight = 0;
    int nWeight = 400;
    bool bItalic = false;
    bool bUnderline = false;
    bool operator==(const CGridFont&) const = default;
};

// A solid pen.
struct CGridPen {
    COLORREF crColor = 0;
    int nWidth = 1;
    bool operator==(const CGridPen&) const = default;
};

// A picture a cell can show at the left of its text; the window layer
// derives its own kind.
class CGridBitmap {
public:
    virtual ~CGridBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// The system colours the grid uses. The window layer sets them from the
// desktop palette; the defaults are the usual light scheme so the core and
// its tests need no desktop.
enum class GridSysColor {
    window,
    windowText,
    highlight,
    highlightText,
    buttonFace,
    buttonShadow,
    buttonText
};
constexpr int kGridSysColorCount = 7;
using GridSysColors = std::array<COLORREF, kGridSysColorCount>;
COLORREF GetGridSysColor(GridSysColor which);
void SetGridSysColor(GridSysColor which, COLORREF cr);
GridSysColors GetGridSysColors();
// The light scheme the colours start with; paper is printed in it.
GridSysColors LightGridSysColors();

class CGridDC {
public:
    virtual ~CGridDC() = default;

    // Colours used by text output; each returns the previous colour.
    virtual COLORREF SetTextColor(COLORREF cr) = 0;
    virtual COLORREF SetBkColor(COLORREF cr) = 0;

    // Select a font or pen (null = the default one); each returns the one
    // selected before so it can be restored. The object must outlive its
    // selection.
    virtual const CGridFont* SelectFont(const CGridFont* pFont) = 0;
    virtual const CGridPen* SelectPen(const CGridPen* pPen) = 0;

    // Text at (x, y) clipped to rcClip; with bOpaque the rectangle is first
    // filled with the background colour.
    virtual void TextOut(int x, int y, const CGridRect& rcClip, std::string_view str,
                         bool bOpaque) = 0;
    // Text word-wrapped inside the rectangle.
    virtual void DrawWrappedText(const CGridRect& rc, std::string_view str) = 0;
    // Width and height of the text in the selected font.
    virtual CGridSize GetTextExtent(std::string_view str) = 0;

    // A line from (x1, y1) to (x2, y2) in the selected pen, the end point
    // excluded.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // A dotted focus frame; drawing it twice restores the pixels.
    virtual void DrawFocusRect(const CGridRect& rc) = 0;
    virtual void DrawBitmap(const CGridBitmap& bitmap, int x, int y, const CGridRect& rcClip) = 0;

    // Copy pixels from another device context (an off-screen one).
    virtual void BlitFrom(CGridDC& src, const CGridRect& rcDest, int xSrc, int ySrc) = 0;
    // Move the pixels inside rc by (dx, dy).
    virtual void ScrollPixels(int dx, int dy, const CGridRect& rc) = 0;
    virtual CGridRect GetClipBox() const = 0;

    // Filling is drawing an empty string opaque with the colour as
    // background (the previous background colour is restored).
    void FillSolidRect(const CGridRect& rc, COLORREF cr);
};

// Measures with a fixed advance per character and draws nothing: what a
// control with no window measures with unless given a real one. Characters
// are |height| / 2 pixels wide (at least 1) and |height| high; with no font
// selected 7 x 16, like the usual dialog font.
class CFixedMeasureDC : public CGridDC {
public:
    COLORREF SetTextColor(COLORREF cr) override;
    COLORREF SetBkColor(COLORREF cr) override;
    const CGridFont* SelectFont(const CGridFont* pFont) override;
    const CGridPen* SelectPen(const CGridPen* pPen) override;
    void TextOut(int, int, const CGridRect&, std::string_view, bool) override {}
    void DrawWrappedText(const CGridRect&, std::string_view) override {}
    CGridSize GetTextExtent(std::string_view str) override;
    void Line(int, int, int, int) override {}
    void DrawFocusRect(const CGridRect&) override {}
    void DrawBitmap(const CGridBitmap&, int, int, const CGridRect&) override {}
    void BlitFrom(CGridDC&, const CGridRect&, int, int) override {}
    void ScrollPixels(int, int, const CGridRect&) override {}
    CGridRect GetClipBox() const override { return {}; }

    static constexpr int kDefaultAdvance = 7;
    static constexpr int kDefaultHeight = 16;

private:
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0xFFFFFF;
    const CGridFont* m_pFont = nullptr;
    const CGridPen* m_pPen = nullptr;
};

} // namespace hpa
