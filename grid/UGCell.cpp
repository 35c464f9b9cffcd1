#include "grid/UGCell.h"

#include "platform/Archive.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace hpa {

struct CUGCell::Props {
    mutable std::atomic<int> nRefs{1};

    std::string strMask;
    std::string strLabel;
    int nDataKind = -1; // guard of the number group
    double dNumber = 0.0;
    short nDecimals = 2;
    short nLimitFlag = -1; // guard of the limit pair
    double dMin = 0.0;
    double dMax = 0.0;
    COLORREF crText = kColorUnset;
    COLORREF crBack = kColorUnset;
    COLORREF crHText = kColorUnset;
    COLORREF crHBack = kColorUnset;
    short nAlign = -1;
    short nBorder = -1;
    short nReadOnly = -1;
    short nStoreCol = -1;
    short nStoreIndex = -1;
    const CGridPen* pPen = nullptr;
    const CGridFont* pFont = nullptr;
    const CGridBitmap* pBitmap = nullptr;
    int nCellType = -1;
    int nCellTypeEx = -1;
    std::vector<unsigned char> extra;
    int nJoin = 0; // guard of the join group
    int nJoinOrigin = 0;
    int nJoinCol = 0;
    int nJoinRow = 0;

    Props() = default;
    Props(const Props& o)
        : strMask(o.strMask), strLabel(o.strLabel), nDataKind(o.nDataKind), dNumber(o.dNumber),
          nDecimals(o.nDecimals), nLimitFlag(o.nLimitFlag), dMin(o.dMin), dMax(o.dMax),
          crText(o.crText), crBack(o.crBack), crHText(o.crHText), crHBack(o.crHBack),
          nAlign(o.nAlign), nBorder(o.nBorder), nReadOnly(o.nReadOnly), nStoreCol(o.nStoreCol),
          nStoreIndex(o.nStoreIndex), pPen(o.pPen), pFont(o.pFont), pBitmap(o.pBitmap),
          nCellType(o.nCellType), nCellTypeEx(o.nCellTypeEx), nJoin(o.nJoin),
          nJoinOrigin(o.nJoinOrigin), nJoinCol(o.nJoinCol), nJoinRow(o.nJoinRow)
    {
        CopyExtra(o.extra);
    }
    Props& operator=(const Props&) = delete;

    // A failed allocation leaves no extra data; everything else still copies.
    void CopyExtra(const std::vector<unsigned char>& src)
    {
        try {
            extra = src;
        } catch (const std::bad_alloc&) {
            extra.clear();
            extra.shrink_to_fit();
        }
    }

    bool NumberPayloadEquals(const Props& o) const
    {
        return dNumber == o.dNumber && nDecimals == o.nDecimals;
    }
    bool LimitPayloadEquals(const Props& o) const { return dMin == o.dMin && dMax == o.dMax; }
    bool JoinPayloadEquals(const Props& o) const
    {
        return nJoinOrigin == o.nJoinOrigin && nJoinCol == o.nJoinCol && nJoinRow == o.nJoinRow;
    }
};

namespace {

// Every cell without a property block reads its properties from here. A
// namespace-scope object, so reading it costs no guard check; it must exist
// before any static grid is built. GCC initialises it at compile time;
// clang 14 cannot evaluate the library's strings there, so it is built
// before every other static object instead.
#if defined(__clang__)
__attribute__((init_priority(101))) const CUGCell::Props g_defaultProps;
#else
constinit const CUGCell::Props g_defaultProps;
#endif

const CUGCell::Props& DefaultProps()
{
    return g_defaultProps;
}

bool IsSetColor(COLORREF cr)
{
    return static_cast<std::int32_t>(cr) >= 0;
}

// Every field either set (as a merge counts it) or exactly at its unset
// value, and the unguarded payloads at their defaults: merging such a block
// into an empty target gives the block itself, so it can be shared.
bool IsCanonical(const CUGCell::Props& p)
{
    const CUGCell::Props& d = DefaultProps();
    auto okShort = [](short n) { return n >= -1; };
    return (p.nDataKind >= -1) && (p.nDataKind >= 0 || p.NumberPayloadEquals(d)) &&
           okShort(p.nLimitFlag) && (p.nLimitFlag >= 0 || p.LimitPayloadEquals(d)) &&
           (IsSetColor(p.crText) || p.crText == kColorUnset) &&
           (IsSetColor(p.crBack) || p.crBack == kColorUnset) &&
           (IsSetColor(p.crHText) || p.crHText == kColorUnset) &&
           (IsSetColor(p.crHBack) || p.crHBack == kColorUnset) && okShort(p.nAlign) &&
           okShort(p.nBorder) && okShort(p.nReadOnly) && okShort(p.nStoreCol) &&
           okShort(p.nStoreIndex) && p.nCellType >= -1 && p.nCellTypeEx >= -1 &&
           (p.nJoin == 1 || (p.nJoin == 0 && p.JoinPayloadEquals(d)));
}

bool IsAllUnset(const CUGCell::Props& p)
{
    const CUGCell::Props& d = DefaultProps();
    return p.strMask.empty() && p.strLabel.empty() && p.nDataKind == -1 &&
           p.NumberPayloadEquals(d) && p.nLimitFlag == -1 && p.LimitPayloadEquals(d) &&
           p.crText == kColorUnset && p.crBack == kColorUnset && p.crHText == kColorUnset &&
           p.crHBack == kColorUnset && p.nAlign == -1 && p.nBorder == -1 && p.nReadOnly == -1 &&
           p.nStoreCol == -1 && p.nStoreIndex == -1 && p.pPen == nullptr && p.pFont == nullptr &&
           p.pBitmap == nullptr && p.nCellType == -1 && p.nCellTypeEx == -1 && p.extra.empty() &&
           p.nJoin == 0 && p.JoinPayloadEquals(d);
}

} // namespace

// ---- lifetime and sharing -----------------------------------------------

CUGCell::CUGCell(const CUGCell& other) : m_strText(other.m_strText), m_pProps(other.m_pProps)
{
    if (m_pProps)
        m_pProps->nRefs.fetch_add(1, std::memory_order_relaxed);
}

CUGCell::CUGCell(CUGCell&& other) noexcept
    : m_strText(std::move(other.m_strText)), m_pProps(other.m_pProps)
{
    other.m_pProps = nullptr;
}

CUGCell& CUGCell::operator=(const CUGCell& other)
{
    if (this != &other) {
        m_strText = other.m_strText;
        if (other.m_pProps)
            other.m_pProps->nRefs.fetch_add(1, std::memory_order_relaxed);
        Release();
        m_pProps = other.m_pProps;
    }
    return *this;
}

CUGCell& CUGCell::operator=(CUGCell&& other) noexcept
{
    if (this != &other) {
        m_strText = std::move(other.m_strText);
        Release();
        m_pProps = other.m_pProps;
        other.m_pProps = nullptr;
    }
    return *this;
}

CUGCell::~CUGCell()
{
    Release();
}

void CUGCell::Release()
{
    if (m_pProps && m_pProps->nRefs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete m_pProps;
    m_pProps = nullptr;
}

const CUGCell::Props& CUGCell::ReadProps() const
{
    return m_pProps ? *m_pProps : DefaultProps();
}

CUGCell::Props& CUGCell::WriteProps()
{
    if (!m_pProps) {
        m_pProps = new Props();
    } else if (m_pProps->nRefs.load(std::memory_order_acquire) != 1) {
        Props* pCopy = new Props(*m_pProps);
        Release();
        m_pProps = pCopy;
    }
    return *m_pProps;
}

// ---- copy, merge, clear -------------------------------------------------

void CUGCell::CopyCellFrom(const CUGCell& src)
{
    if (this == &src)
        return;
    m_strText = src.m_strText;
    // Text-only cells, and cells already sharing one block, are done: the
    // general path below would end by sharing the same block again.
    if (m_pProps == src.m_pProps)
        return;
    const Props& s = src.ReadProps();
    const Props& t = ReadProps();
    // Unguarded groups keep the target's payload; when those already agree
    // the source block can simply be shared.
    const bool bSameNumber = s.nDataKind >= 0 || s.NumberPayloadEquals(t);
    const bool bSameLimits = s.nLimitFlag >= 0 || s.LimitPayloadEquals(t);
    const bool bSameJoin = s.nJoin != 0 || s.JoinPayloadEquals(t);
    if (bSameNumber && bSameLimits && bSameJoin) {
        if (src.m_pProps)
            src.m_pProps->nRefs.fetch_add(1, std::memory_order_relaxed);
        Release();
        m_pProps = src.m_pProps;
        return;
    }
    Props& p = WriteProps();
    p.strMask = s.strMask;
    p.strLabel = s.strLabel;
    p.nDataKind = s.nDataKind;
    if (s.nDataKind >= 0) {
        p.dNumber = s.dNumber;
        p.nDecimals = s.nDecimals;
    }
    p.nLimitFlag = s.nLimitFlag;
    if (s.nLimitFlag >= 0) {
        p.dMin = s.dMin;
        p.dMax = s.dMax;
    }
    p.crText = s.crText;
    p.crBack = s.crBack;
    p.crHText = s.crHText;
    p.crHBack = s.crHBack;
    p.nAlign = s.nAlign;
    p.nBorder = s.nBorder;
    p.nReadOnly = s.nReadOnly;
    p.nStoreCol = s.nStoreCol;
    p.nStoreIndex = s.nStoreIndex;
    p.pPen = s.pPen;
    p.pFont = s.pFont;
    p.pBitmap = s.pBitmap;
    p.nCellType = s.nCellType;
    p.nCellTypeEx = s.nCellTypeEx;
    p.CopyExtra(s.extra);
    p.nJoin = s.nJoin;
    if (s.nJoin != 0) {
        p.nJoinOrigin = s.nJoinOrigin;
        p.nJoinCol = s.nJoinCol;
        p.nJoinRow = s.nJoinRow;
    }
}

void CUGCell::MergeCellFrom(const CUGCell& src)
{
    if (this == &src)
        return;
    if (!src.m_strText.empty())
        m_strText = src.m_strText;
    if (!src.m_pProps)
        return;
    const Props& s = *src.m_pProps;
    if (!m_pProps && IsCanonical(s)) {
        s.nRefs.fetch_add(1, std::memory_order_relaxed);
        m_pProps = src.m_pProps;
        return;
    }
    Props& p = WriteProps();
    if (!s.strMask.empty())
        p.strMask = s.strMask;
    if (!s.strLabel.empty())
        p.strLabel = s.strLabel;
    if (s.nDataKind >= 0) {
        p.nDataKind = s.nDataKind;
        p.dNumber = s.dNumber;
        p.nDecimals = s.nDecimals;
    }
    if (s.nLimitFlag >= 0) {
        p.nLimitFlag = s.nLimitFlag;
        p.dMin = s.dMin;
        p.dMax = s.dMax;
    }
    if (IsSetColor(s.crText))
        p.crText = s.crText;
    if (IsSetColor(s.crBack))
        p.crBack = s.crBack;
    if (IsSetColor(s.crHText))
        p.crHText = s.crHText;
    if (IsSetColor(s.crHBack))
        p.crHBack = s.crHBack;
    if (s.nAlign >= 0)
        p.nAlign = s.nAlign;
    if (s.nBorder >= 0)
        p.nBorder = s.nBorder;
    if (s.nReadOnly >= 0)
        p.nReadOnly = s.nReadOnly;
    if (s.nStoreCol >= 0)
        p.nStoreCol = s.nStoreCol;
    if (s.nStoreIndex >= 0)
        p.nStoreIndex = s.nStoreIndex;
    if (s.pPen)
        p.pPen = s.pPen;
    if (s.pFont)
        p.pFont = s.pFont;
    if (s.pBitmap)
        p.pBitmap = s.pBitmap;
    if (s.nCellType >= 0)
        p.nCellType = s.nCellType;
    if (s.nCellTypeEx >= 0)
        p.nCellTypeEx = s.nCellTypeEx;
    if (!s.extra.empty())
        p.CopyExtra(s.extra);
    if (s.nJoin == 1) {
        p.nJoin = s.nJoin;
        p.nJoinOrigin = s.nJoinOrigin;
        p.nJoinCol = s.nJoinCol;
        p.nJoinRow = s.nJoinRow;
    }
}

bool CUGCell::IsEmpty() const
{
    return m_strText.empty() && (!m_pProps || IsAllUnset(*m_pProps));
}

// ---- text and number ------------------------------------------------------

int CUGCell::SetText(std::string_view str)
{
    m_strText.assign(str.data(), str.size());
    return 0;
}

int CUGCell::GetText(std::string& strOut) const
{
    strOut = m_strText;
    return 0;
}

void CUGCell::SetNumber(double dValue)
{
    Props& p = WriteProps();
    // Fixed point with the decimal places; a negative count would make a
    // malformed conversion, so it counts as 0.
    const int nPlaces = std::clamp<int>(p.nDecimals, 0, 340);
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%1.*f", nPlaces, dValue);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof buf) {
        m_strText.assign(buf, static_cast<std::size_t>(n));
    } else if (n > 0) {
        std::vector<char> big(static_cast<std::size_t>(n) + 1);
        std::snprintf(big.data(), big.size(), "%1.*f", nPlaces, dValue);
        m_strText.assign(big.data(), static_cast<std::size_t>(n));
    }
    p.nDataKind = kDataKindNumber;
    p.dNumber = dValue;
}

double CUGCell::GetNumber() const
{
    return std::strtod(m_strText.c_str(), nullptr);
}
double CUGCell::GetNumberValue() const
{
    return ReadProps().dNumber;
}

// ---- the other properties ---------------------------------------------------

void CUGCell::SetMask(std::string_view str)
{
    WriteProps().strMask.assign(str);
}
const std::string& CUGCell::GetMask() const
{
    return ReadProps().strMask;
}
void CUGCell::SetLabel(std::string_view str)
{
    WriteProps().strLabel.assign(str);
}
const std::string& CUGCell::GetLabel() const
{
    return ReadProps().strLabel;
}

void CUGCell::SetDataKind(int nKind)
{
    WriteProps().nDataKind = nKind;
}
int CUGCell::GetDataKind() const
{
    return ReadProps().nDataKind;
}
void CUGCell::SetDecimalPlaces(short nPlaces)
{
    WriteProps().nDecimals = nPlaces;
}
short CUGCell::GetDecimalPlaces() const
{
    return ReadProps().nDecimals;
}

void CUGCell::SetLimits(double dMin, double dMax)
{
    Props& p = WriteProps();
    p.dMin = dMin;
    p.dMax = dMax;
    p.nLimitFlag = 1;
}

int CUGCell::GetLimits(double* pdMin, double* pdMax) const
{
    const Props& p = ReadProps();
    if (p.nLimitFlag < 0)
        return 1;
    if (pdMin)
        *pdMin = p.dMin;
    if (pdMax)
        *pdMax = p.dMax;
    return 0;
}

short CUGCell::GetLimitFlag() const
{
    return ReadProps().nLimitFlag;
}

void CUGCell::SetTextColor(COLORREF cr)
{
    WriteProps().crText = cr;
}
COLORREF CUGCell::GetTextColor() const
{
    return ReadProps().crText;
}
void CUGCell::SetBackColor(COLORREF cr)
{
    WriteProps().crBack = cr;
}
COLORREF CUGCell::GetBackColor() const
{
    return ReadProps().crBack;
}
void CUGCell::SetHighlightTextColor(COLORREF cr)
{
    WriteProps().crHText = cr;
}
COLORREF CUGCell::GetHighlightTextColor() const
{
    return ReadProps().crHText;
}
void CUGCell::SetHighlightBackColor(COLORREF cr)
{
    WriteProps().crHBack = cr;
}
COLORREF CUGCell::GetHighlightBackColor() const
{
    return ReadProps().crHBack;
}

void CUGCell::SetAlignment(short nAlign)
{
    WriteProps().nAlign = nAlign;
}
short CUGCell::GetAlignment() const
{
    return ReadProps().nAlign;
}
void CUGCell::SetBorderStyle(short nStyle)
{
    WriteProps().nBorder = nStyle;
}
short CUGCell::GetBorderStyle() const
{
    return ReadProps().nBorder;
}
void CUGCell::SetReadOnly(short nReadOnly)
{
    WriteProps().nReadOnly = nReadOnly;
}
short CUGCell::GetReadOnly() const
{
    return ReadProps().nReadOnly;
}

void CUGCell::SetBorderPen(const CGridPen* pPen)
{
    WriteProps().pPen = pPen;
}
const CGridPen* CUGCell::GetBorderPen() const
{
    return ReadProps().pPen;
}
void CUGCell::SetFont(const CGridFont* pFont)
{
    WriteProps().pFont = pFont;
}
const CGridFont* CUGCell::PropsFont() const
{
    return m_pProps->pFont;
}
void CUGCell::SetBitmap(const CGridBitmap* pBitmap)
{
    WriteProps().pBitmap = pBitmap;
}
const CGridBitmap* CUGCell::GetBitmap() const
{
    return ReadProps().pBitmap;
}

void CUGCell::SetCellType(int nType)
{
    WriteProps().nCellType = nType;
}
int CUGCell::PropsCellType() const
{
    return m_pProps->nCellType;
}
void CUGCell::SetCellTypeEx(int nStyle)
{
    WriteProps().nCellTypeEx = nStyle;
}
int CUGCell::PropsCellTypeEx() const
{
    return m_pProps->nCellTypeEx;
}

void CUGCell::SetExtraData(const void* pData, std::size_t nSize)
{
    Props& p = WriteProps();
    const auto* pBytes = static_cast<const unsigned char*>(pData);
    p.extra.clear();
    if (pBytes && nSize > 0) {
        try {
            p.extra.assign(pBytes, pBytes + nSize);
        } catch (const std::bad_alloc&) {
            p.extra.clear();
        }
    }
}

const void* CUGCell::GetExtraData() const
{
    const Props& p = ReadProps();
    return p.extra.empty() ? nullptr : p.extra.data();
}

std::size_t CUGCell::GetExtraDataSize() const
{
    return ReadProps().extra.size();
}

void CUGCell::ClearExtraData()
{
    if (m_pProps && !m_pProps->extra.empty()) {
        Props& p = WriteProps();
        p.extra.clear();
        p.extra.shrink_to_fit();
    }
}

void CUGCell::SetJoinInfo(int bOrigin, int nCol, int nRow)
{
    Props& p = WriteProps();
    p.nJoin = 1;
    p.nJoinOrigin = bOrigin ? 1 : 0;
    p.nJoinCol = nCol;
    p.nJoinRow = nRow;
}

void CUGCell::ClearJoinInfo()
{
    if (m_pProps && m_pProps->nJoin != 0) {
        Props& p = WriteProps();
        p.nJoin = 0;
        p.nJoinOrigin = 0;
        p.nJoinCol = 0;
        p.nJoinRow = 0;
    }
}

int CUGCell::IsJoined() const
{
    return ReadProps().nJoin != 0 ? 1 : 0;
}
int CUGCell::IsJoinOrigin() const
{
    const Props& p = ReadProps();
    return p.nJoin != 0 && p.nJoinOrigin != 0 ? 1 : 0;
}

int CUGCell::GetJoinInfo(int* pbOrigin, int* pnCol, int* pnRow) const
{
    const Props& p = ReadProps();
    if (p.nJoin == 0)
        return 1;
    if (pbOrigin)
        *pbOrigin = p.nJoinOrigin;
    if (pnCol)
        *pnCol = p.nJoinCol;
    if (pnRow)
        *pnRow = p.nJoinRow;
    return 0;
}

void CUGCell::SetStoreColumn(short nCol)
{
    WriteProps().nStoreCol = nCol;
}
int CUGCell::PropsStoreColumn() const
{
    return m_pProps->nStoreCol;
}
void CUGCell::SetStoreIndex(short nIndex)
{
    WriteProps().nStoreIndex = nIndex;
}
int CUGCell::PropsStoreIndex() const
{
    return m_pProps->nStoreIndex;
}

// ---- archive --------------------------------------------------------------

void CUGCell::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar.WriteString(m_strText);
    else
        m_strText = ar.ReadString();
}

} // namespace hpa
