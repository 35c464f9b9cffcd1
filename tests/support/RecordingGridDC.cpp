#include "support/RecordingGridDC.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace hpa::test {

CDCCall CRecordingGridDC::Make(CDCCall::Kind kind) const
{
    CDCCall call;
    call.kind = kind;
    call.crText = m_crText;
    call.crBack = m_crBack;
    call.crPen = m_pPen ? m_pPen->crColor : 0;
    if (m_pFont)
        call.font = *m_pFont;
    return call;
}

COLORREF CRecordingGridDC::SetTextColor(COLORREF cr)
{
    return std::exchange(m_crText, cr);
}

COLORREF CRecordingGridDC::SetBkColor(COLORREF cr)
{
    return std::exchange(m_crBack, cr);
}

const CGridFont* CRecordingGridDC::SelectFont(const CGridFont* pFont)
{
    return std::exchange(m_pFont, pFont);
}

const CGridPen* CRecordingGridDC::SelectPen(const CGridPen* pPen)
{
    return std::exchange(m_pPen, pPen);
}

void CRecordingGridDC::TextOut(int x, int y, const CGridRect& rcClip, std::string_view str,
                               bool bOpaque)
{
    CDCCall call = Make(CDCCall::Kind::textOut);
    call.x = x;
    call.y = y;
    call.rc = rcClip;
    call.str = str;
    call.bOpaque = bOpaque;
    m_calls.push_back(std::move(call));
}

void CRecordingGridDC::DrawWrappedText(const CGridRect& rc, std::string_view str)
{
    CDCCall call = Make(CDCCall::Kind::wrappedText);
    call.rc = rc;
    call.str = str;
    m_calls.push_back(std::move(call));
}

CGridSize CRecordingGridDC::GetTextExtent(std::string_view str)
{
    int nAdvance = 7;
    int nHeight = 16;
    if (m_pFont && m_pFont->nHeight != 0) {
        nHeight = std::abs(m_pFont->nHeight);
        nAdvance = std::max(nHeight / 2, 1);
    }
    const long long nWidth = static_cast<long long>(str.size()) * nAdvance;
    return {nWidth > INT_MAX ? INT_MAX : static_cast<int>(nWidth), nHeight};
}

void CRecordingGridDC::Line(int x1, int y1, int x2, int y2)
{
    CDCCall call = Make(CDCCall::Kind::line);
    call.x = x1;
    call.y = y1;
    call.x2 = x2;
    call.y2 = y2;
    m_calls.push_back(std::move(call));
}

void CRecordingGridDC::DrawFocusRect(const CGridRect& rc)
{
    CDCCall call = Make(CDCCall::Kind::focusRect);
    call.rc = rc;
    m_calls.push_back(std::move(call));
}

void CRecordingGridDC::DrawBitmap(const CGridBitmap& /*bitmap*/, int x, int y,
                                  const CGridRect& rcClip)
{
    CDCCall call = Make(CDCCall::Kind::bitmap);
    call.x = x;
    call.y = y;
    call.rc = rcClip;
    m_calls.push_back(std::move(call));
}

void CRecordingGridDC::BlitFrom(CGridDC& /*src*/, const CGridRect& rcDest, int xSrc, int ySrc)
{
    CDCCall call = Make(CDCCall::Kind::blit);
    call.rc = rcDest;
    call.x2 = xSrc;
    call.y2 = ySrc;
    m_calls.push_back(std::move(call));
}

void CRecordingGridDC::ScrollPixels(int dx, int dy, const CGridRect& rc)
{
    CDCCall call = Make(CDCCall::Kind::scroll);
    call.x = dx;
    call.y = dy;
    call.rc = rc;
    m_calls.push_back(std::move(call));
}

std::vector<CDCCall> CRecordingGridDC::Calls(CDCCall::Kind kind) const
{
    std::vector<CDCCall> out;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out),
                 [kind](const CDCCall& c) { return c.kind == kind; });
    return out;
}

std::vector<CDCCall> CRecordingGridDC::Texts() const
{
    std::vector<CDCCall> out;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out), [](const CDCCall& c) {
        return c.kind == CDCCall::Kind::textOut && !c.str.empty();
    });
    return out;
}

std::vector<std::string> CRecordingGridDC::TextStrings() const
{
    std::vector<std::string> out;
    for (const CDCCall& c : Texts())
        out.push_back(c.str);
    return out;
}

std::vector<CDCCall> CRecordingGridDC::Fills() const
{
    std::vector<CDCCall> out;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out), [](const CDCCall& c) {
        return c.kind == CDCCall::Kind::textOut && c.str.empty() && c.bOpaque;
    });
    return out;
}

} // namespace hpa::test
