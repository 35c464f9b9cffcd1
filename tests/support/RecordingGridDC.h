#pragma once
// A device context that draws nothing and writes down every drawing call
// with its exact coordinates and the colours, pen and font in force, so
// tests can check what the grid paints pixel by pixel. It measures like
// CFixedMeasureDC: characters |height| / 2 wide and |height| high (7 x 16
// with no font).
#include "grid/GridDC.h"

#include <string>
#include <vector>

namespace hpa::test {

struct CDCCall {
    enum class Kind { textOut, wrappedText, line, focusRect, bitmap, blit, scroll };
    Kind kind = Kind::textOut;
    int x = 0, y = 0;   // text origin, line start, bitmap origin, scroll dx / dy
    int x2 = 0, y2 = 0; // line end (excluded), blit source
    CGridRect rc;       // clip, wrap, focus, blit or scroll rectangle
    std::string str;
    bool bOpaque = false;
    COLORREF crText = 0;
    COLORREF crBack = 0;
    COLORREF crPen = 0;
    CGridFont font; // the font in force (empty face = none selected)
};

class CRecordingGridDC : public CGridDC {
public:
    std::vector<CDCCall> m_calls;
    CGridRect m_rcClip; // what GetClipBox answers

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
    CGridRect GetClipBox() const override { return m_rcClip; }

    // The calls of one kind, in order.
    std::vector<CDCCall> Calls(CDCCall::Kind kind) const;
    std::vector<CDCCall> Lines() const { return Calls(CDCCall::Kind::line); }
    // Text outputs with text (fills, which are empty text outputs, left out).
    std::vector<CDCCall> Texts() const;
    // Just the strings of those, in drawing order.
    std::vector<std::string> TextStrings() const;
    // Empty opaque text outputs: the rectangles filled.
    std::vector<CDCCall> Fills() const;
    const CGridFont* SelectedFont() const { return m_pFont; }
    const CGridPen* SelectedPen() const { return m_pPen; }
    void Clear() { m_calls.clear(); }

private:
    CDCCall Make(CDCCall::Kind kind) const;

    COLORREF m_crText = 0;
    COLORREF m_crBack = 0xFFFFFF;
    const CGridFont* m_pFont = nullptr;
    const CGridPen* m_pPen = nullptr;
};

} // namespace hpa::test
