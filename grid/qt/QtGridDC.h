#pragma once
// The grid's device context on a QPainter: the screen (a widget's or the
// cell area's retained pixmap), an off-screen pixmap, a printer or a PDF
// writer. Without a painter it only measures, which is what fitting column
// widths needs.
//
// Lines end before their end point and focus frames are drawn by inverting
// every other pixel, so drawing one twice restores the picture, as the grid
// expects. Text is the cells' bytes, decoded for display.
#include "grid/GridDC.h"

#include <QPixmap>
#include <QRect>

#include <memory>

class QPainter;
class QPalette;

namespace hpa {

// The grid's system colours from a palette (the desktop's): window and
// window text from the palette's base and text, highlight and highlighted
// text, button face, shadow and text from the button roles.
void LoadGridSysColors(const QPalette& palette);

class CQtFontEntry;

// A picture for CUGCell::SetBitmap.
class CQtGridBitmap : public CGridBitmap {
public:
    explicit CQtGridBitmap(QPixmap pixmap) : m_pixmap(std::move(pixmap)) {}
    int Width() const override { return m_pixmap.width(); }
    int Height() const override { return m_pixmap.height(); }
    const QPixmap& Pixmap() const { return m_pixmap; }

private:
    QPixmap m_pixmap;
};

class CQtGridDC : public CGridDC {
public:
    // Measuring only: drawing calls do nothing.
    CQtGridDC();
    // Drawing with a painter that is already active. When its device is
    // pPixmap, ScrollPixels can move that pixmap's pixels (the painter is
    // ended around the move and begun again). The context remembers the
    // font and pen it gave the painter: whoever draws on the painter
    // directly in between calls ResetPainterState() before using it again.
    explicit CQtGridDC(QPainter* pPainter, QPixmap* pPixmap = nullptr);
    ~CQtGridDC() override;
    CQtGridDC(const CQtGridDC&) = delete;
    CQtGridDC& operator=(const CQtGridDC&) = delete;

    // The painter's font and pen were changed behind the context's back.
    void ResetPainterState()
    {
        m_pPainterFont = nullptr;
        m_crPainterPen = kColorUnset;
    }
    // What GetClipBox answers (default: the whole device).
    void SetClipBox(const QRect& rc) { m_rcClip = rc; }
    // Everything drawn since construction (or the last reset), bounded.
    QRect Touched() const { return m_rcTouched; }
    void ResetTouched() { m_rcTouched = {}; }

    COLORREF SetTextColor(COLORREF cr) override;
    COLORREF SetBkColor(COLORREF cr) override;
    const CGridFont* SelectFont(const CGridFont* pFont) override;
    const CGridPen* SelectPen(const CGridPen* pPen) override;
    void TextOut(int x, int y, const CGridRect& rcClip, std::string_view str,
                 bool bOpaque) override;
    void DrawWrappedText(const CGridRect& rc, std::string_view str) override;
    CGridSize GetTextExtent(std::string_view str) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void DrawFocusRect(const CGridRect& rc) override;
    void DrawBitmap(const CGridBitmap& bitmap, int x, int y, const CGridRect& rcClip) override;
    void BlitFrom(CGridDC& src, const CGridRect& rcDest, int xSrc, int ySrc) override;
    void ScrollPixels(int dx, int dy, const CGridRect& rc) override;
    CGridRect GetClipBox() const override;

private:
    CQtFontEntry& Font();
    void UsePainterFont();
    void UseTextPen();
    void Touch(const QRect& rc) { m_rcTouched |= rc; }

    QPainter* m_pPainter = nullptr;
    QPixmap* m_pPixmap = nullptr;
    QRect m_rcClip;
    QRect m_rcTouched;
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0xFFFFFF;
    const CGridPen* m_pPen = nullptr;

    // The selected font, and the entry it was last resolved to.
    const CGridFont* m_pFont = nullptr;
    const CGridFont* m_pResolvedFor = nullptr;
    CGridFont m_resolvedValue;
    std::shared_ptr<CQtFontEntry> m_pEntry;
    const CQtFontEntry* m_pPainterFont = nullptr; // the font set on the painter
    COLORREF m_crPainterPen = kColorUnset;        // the pen colour set on it
};

} // namespace hpa
