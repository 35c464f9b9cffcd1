#pragma once
// One grid cell: a set of optional properties. Every property has an "unset"
// value; a freshly constructed or cleared cell has all of them unset.
//
// Grids hold millions of cells whose only property is their text, so a cell
// is the text (inline for short strings) plus one pointer to a block with
// every other property. The block exists only once one of those properties is
// set, and it is shared copy-on-write between copies: resolving a cell copies
// its column default thousands of times per repaint without allocating.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace hpa {

class CArchive;
class CGridBitmap;
struct CGridFont;
struct CGridPen;

// 0x00BBGGRR, the colour layout .hpa documents store.
using COLORREF = std::uint32_t;

constexpr COLORREF MakeRGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

// The unset colour (-1 as a signed value).
constexpr COLORREF kColorUnset = 0xFFFFFFFFu;

// Alignment flags.
constexpr short kAlignLeft = 0;
constexpr short kAlignRight = 2;
constexpr short kAlignCenter = 4;
constexpr short kAlignTop = 0;
constexpr short kAlignBottom = 0x10;
constexpr short kAlignVCenter = 0x20;
// The grid default's alignment. The low bit is no alignment flag, so such
// text sits left and top; the value stays because new column defaults copy
// it and documents store their columns' alignments.
constexpr short kAlignGridDefault = 1;

// Data kinds.
constexpr int kDataKindText = 0;
constexpr int kDataKindNumber = 2;

class CUGCell {
public:
    CUGCell() = default;
    CUGCell(const CUGCell& other);
    CUGCell(CUGCell&& other) noexcept;
    CUGCell& operator=(const CUGCell& other);
    CUGCell& operator=(CUGCell&& other) noexcept;
    ~CUGCell();

    // Every property unset (decimal places back to 2), extra data freed.
    // Inline: readers clear a cell before every read.
    void ClearCell()
    {
        m_strText.clear();
        if (m_pProps)
            Release();
    }
    // Every property of the source, unset ones included.
    void CopyCellFrom(const CUGCell& src);
    // Only the source's set properties.
    void MergeCellFrom(const CUGCell& src);

    // Text (stored inline when short).
    int SetText(std::string_view str);
    int GetText(std::string& strOut) const;
    const std::string& GetText() const { return m_strText; }

    // Formats the value with the decimal places into the text and sets data
    // kind 2 and the number value.
    void SetNumber(double dValue);
    // The text's leading numeric part, 0 when there is none.
    double GetNumber() const;
    double GetNumberValue() const;

    void SetMask(std::string_view str);
    const std::string& GetMask() const;
    void SetLabel(std::string_view str);
    const std::string& GetLabel() const;

    void SetDataKind(int nKind);
    int GetDataKind() const;
    void SetDecimalPlaces(short nPlaces);
    short GetDecimalPlaces() const;

    void SetLimits(double dMin, double dMax);
    int GetLimits(double* pdMin, double* pdMax) const; // 1 when no limits are set
    short GetLimitFlag() const;

    void SetTextColor(COLORREF cr);
    COLORREF GetTextColor() const;
    void SetBackColor(COLORREF cr);
    COLORREF GetBackColor() const;
    void SetHighlightTextColor(COLORREF cr);
    COLORREF GetHighlightTextColor() const;
    void SetHighlightBackColor(COLORREF cr);
    COLORREF GetHighlightBackColor() const;

    void SetAlignment(short nAlign);
    short GetAlignment() const;
    void SetBorderStyle(short nStyle);
    short GetBorderStyle() const;
    void SetReadOnly(short nReadOnly);
    short GetReadOnly() const;

    // Handles are not owned by the cell: whoever sets one keeps it alive
    // while the cell (or a copy of it) may be drawn.
    void SetBorderPen(const CGridPen* pPen);
    const CGridPen* GetBorderPen() const;
    void SetFont(const CGridFont* pFont);
    const CGridFont* GetFont() const { return m_pProps ? PropsFont() : nullptr; }
    void SetBitmap(const CGridBitmap* pBitmap);
    const CGridBitmap* GetBitmap() const;

    void SetCellType(int nType);
    int GetCellType() const { return m_pProps ? PropsCellType() : -1; }
    void SetCellTypeEx(int nStyle);
    int GetCellTypeEx() const { return m_pProps ? PropsCellTypeEx() : -1; }

    // Opaque bytes owned by the cell and copied with it.
    void SetExtraData(const void* pData, std::size_t nSize);
    const void* GetExtraData() const;
    std::size_t GetExtraDataSize() const;
    void ClearExtraData();

    // Joined blocks: in the origin, (col, row) is the block's last cell; in
    // the other cells it is the origin.
    void SetJoinInfo(int bOrigin, int nCol, int nRow);
    void ClearJoinInfo();
    int IsJoined() const;
    int IsJoinOrigin() const;
    int GetJoinInfo(int* pbOrigin, int* pnCol, int* pnRow) const; // 1 when not joined

    void SetStoreColumn(short nCol);
    int GetStoreColumn() const { return m_pProps ? PropsStoreColumn() : -1; }
    void SetStoreIndex(short nIndex);
    int GetStoreIndex() const { return m_pProps ? PropsStoreIndex() : -1; }

    // True when no property at all is set.
    bool IsEmpty() const;
    // True when some property besides the text is set.
    bool HasProperties() const { return m_pProps != nullptr; }

    // Only the text goes to the archive; loading replaces just the text.
    void Serialize(CArchive& ar);

    struct Props; // every property but the text; shared copy-on-write

private:
    const Props& ReadProps() const;
    // The getters above are asked for every cell drawn, measured or
    // addressed; most cells have no property block, and for those the
    // answer is the unset value without a call.
    const CGridFont* PropsFont() const;
    int PropsCellType() const;
    int PropsCellTypeEx() const;
    int PropsStoreColumn() const;
    int PropsStoreIndex() const;
    Props& WriteProps();
    void Release();

    std::string m_strText;
    Props* m_pProps = nullptr;
};

} // namespace hpa
