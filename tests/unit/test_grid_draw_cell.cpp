// Drawing one cell: border lines and 3D frames, text placement by
// alignment, word wrap, the "..." cut, colours, bitmaps, scaled drawing for
// print, and the cell types besides the normal one.
#include "grid/GridCellTypeExtra.h"
#include "grid/GridDraw.h"
#include "grid/UGCtrl.h"
#include "support/RecordingGridDC.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CDCCall;
using hpa::test::CRecordingGridDC;

namespace {

struct LineAt {
    int x1, y1, x2, y2;
    COLORREF crPen;
    bool operator==(const LineAt&) const = default;
};

std::vector<LineAt> LinesOf(const CRecordingGridDC& dc)
{
    std::vector<LineAt> out;
    for (const CDCCall& c : dc.Lines())
        out.push_back({c.x, c.y, c.x2, c.y2, c.crPen});
    return out;
}

constexpr COLORREF kBlack = MakeRGB(0, 0, 0);
constexpr COLORREF kWhite = MakeRGB(255, 255, 255);

class FakeBitmap : public CGridBitmap {
public:
    int Width() const override { return 16; }
    int Height() const override { return 12; }
};

} // namespace

// ---- borders --------------------------------------------------------------------------

TEST(GridBorder, GridLinesOnTheRightAndBottomOfA100By20Cell)
{
    CRecordingGridDC dc;
    const CGridRect inner = DrawBorder(dc, {0, 0, 100, 20}, 0x0C, nullptr, 1);
    EXPECT_EQ(LinesOf(dc),
              (std::vector<LineAt>{{99, 0, 99, 20, kBlack}, {0, 19, 100, 19, kBlack}}));
    EXPECT_EQ(inner, (CGridRect{0, 0, 99, 19}));
    EXPECT_EQ(dc.SelectedPen(), nullptr); // the pen in force before is back
}

TEST(GridBorder, WidestClassWinsPerSideAndLinesStepInward)
{
    CRecordingGridDC dc;
    const CGridPen pen{MakeRGB(1, 2, 3), 1};
    // left: thin + thick (3), top: medium (2), right: thin + medium (2), bottom: none.
    const CGridRect inner =
        DrawBorder(dc, {10, 20, 110, 60}, 0x1 | 0x100 | 0x20 | 0x4 | 0x40, &pen, 1);
    const COLORREF cr = pen.crColor;
    EXPECT_EQ(LinesOf(dc), (std::vector<LineAt>{{10, 20, 10, 60, cr},
                                                {11, 20, 11, 60, cr},
                                                {12, 20, 12, 60, cr},
                                                {10, 20, 110, 20, cr},
                                                {10, 21, 110, 21, cr},
                                                {109, 20, 109, 60, cr},
                                                {108, 20, 108, 60, cr}}));
    EXPECT_EQ(inner, (CGridRect{13, 22, 108, 60}));
}

TEST(GridBorder, StyleZeroOrUnsetLeavesTheRectangle)
{
    CRecordingGridDC dc;
    EXPECT_EQ(DrawBorder(dc, {1, 2, 3, 4}, 0, nullptr, 1), (CGridRect{1, 2, 3, 4}));
    CUGCell cell; // border style unset
    GridLayout gl;
    EXPECT_EQ(DrawCellBorder(dc, {1, 2, 3, 4}, cell, gl), (CGridRect{1, 2, 3, 4}));
    EXPECT_TRUE(dc.m_calls.empty());
}

TEST(GridBorder, RaisedAndSunkenFramesOverrideLinesAndInsetByTheirWidth)
{
    const COLORREF crShadow = GetGridSysColor(GridSysColor::buttonShadow);
    CRecordingGridDC raised;
    const CGridRect inner = DrawBorder(raised, {0, 0, 50, 20}, 0x2000 | 0x0F, nullptr, 2);
    EXPECT_EQ(inner, (CGridRect{2, 2, 48, 18}));
    EXPECT_EQ(LinesOf(raised), (std::vector<LineAt>{{0, 19, 0, 0, kWhite},
                                                    {0, 0, 49, 0, kWhite},
                                                    {49, 0, 49, 19, crShadow},
                                                    {49, 19, 0, 19, crShadow},
                                                    {1, 18, 1, 1, kWhite},
                                                    {1, 1, 48, 1, kWhite},
                                                    {48, 1, 48, 18, crShadow},
                                                    {48, 18, 1, 18, crShadow}}));

    CRecordingGridDC sunken;
    DrawBorder(sunken, {0, 0, 50, 20}, 0x1000, nullptr, 1);
    const auto lines = LinesOf(sunken);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].crPen, crShadow);
    EXPECT_EQ(lines[1].crPen, crShadow);
    EXPECT_EQ(lines[2].crPen, kWhite);
    EXPECT_EQ(lines[3].crPen, kWhite);
}

// ---- the normal cell type ------------------------------------------------------------

namespace {

// A control whose normal type draws one cell into a recorder; no font is
// selected so text measures 7 x 16 per character.
class NormalCell : public ::testing::Test {
protected:
    CRecordingGridDC Draw(const CUGCell& cell, const CGridRect& rc, int bSelected = 0,
                          int bCurrent = 0)
    {
        CRecordingGridDC dc;
        m_grid.GetCellType(0)->DrawCell(dc, rc, cell, bSelected, bCurrent);
        return dc;
    }
    static CUGCell Text(const char* psz, short nAlign = 0, int nStyle = -1)
    {
        CUGCell cell;
        cell.SetText(psz);
        cell.SetAlignment(nAlign);
        if (nStyle >= 0)
            cell.SetCellTypeEx(nStyle);
        return cell;
    }
    CUGCtrl m_grid;
};

} // namespace

TEST_F(NormalCell, TextPlacementByAlignment)
{
    struct Case {
        short nAlign;
        int x, y;
    };
    // "abcd" is 28 x 16 in the rectangle (10, 20, 110, 40).
    const Case cases[] = {
        {0, 13, 21},                            // left, top: 3 in, 1 down
        {kAlignRight, 79, 21},                  // ends 3 left of the right edge
        {kAlignCenter, 46, 21},                 // 10 + (100 - 28) / 2
        {kAlignVCenter, 13, 22},                // 20 + (20 - 16) / 2
        {kAlignBottom, 13, 23},                 // 40 - 16 - 1
        {kAlignCenter | kAlignVCenter, 46, 22}, // a heading's 36
        {kAlignRight | kAlignBottom, 79, 23},
    };
    for (const Case& c : cases) {
        const CRecordingGridDC dc = Draw(Text("abcd", c.nAlign), {10, 20, 110, 40});
        const auto texts = dc.Texts();
        ASSERT_EQ(texts.size(), 1u) << c.nAlign;
        EXPECT_EQ(texts[0].x, c.x) << c.nAlign;
        EXPECT_EQ(texts[0].y, c.y) << c.nAlign;
        EXPECT_EQ(texts[0].rc, (CGridRect{10, 20, 110, 40}));
        EXPECT_TRUE(texts[0].bOpaque); // fills the whole rectangle
    }
}

TEST_F(NormalCell, CentringTextWiderThanTheCellRoundsTowardZero)
{
    // 21 characters = 147 pixels in 100: (100 - 147) / 2 = -23.
    const CRecordingGridDC dc = Draw(Text("abcdefghijklmnopqrstu", kAlignCenter), {0, 0, 100, 20});
    EXPECT_EQ(dc.Texts().at(0).x, -23);
}

TEST_F(NormalCell, EllipsisCutsLongTextAndEndsAtTheRightEdge)
{
    // 10 characters = 70 px in a 50 px cell; "..." is 21 px: the text is
    // clipped at 50 - 21 - 3 = 26 and the dots start one pixel right of it.
    const CRecordingGridDC dc = Draw(Text("0123456789", kAlignRight, 4), {100, 0, 150, 20});
    const auto texts = dc.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].str, "0123456789");
    EXPECT_EQ(texts[0].x, 103);
    EXPECT_EQ(texts[0].rc, (CGridRect{100, 0, 126, 20}));
    EXPECT_EQ(texts[1].str, "...");
    EXPECT_EQ(texts[1].x, 127);
    EXPECT_EQ(texts[1].rc, (CGridRect{126, 0, 150, 20}));
}

TEST_F(NormalCell, EllipsisIsNeverDrawnLeftOfANarrowCell)
{
    for (int w : {1, 5, 20, 24}) {
        const CRecordingGridDC dc = Draw(Text("0123456789", 0, 4), {100, 0, 100 + w, 20});
        for (const CDCCall& c : dc.Texts()) {
            EXPECT_NE(c.str, "0123456789") << w; // no room for any text
            EXPECT_EQ(c.str, "...");
            EXPECT_GE(c.x, 101) << w;
            EXPECT_GE(c.rc.left, 101) << w;
            EXPECT_EQ(c.rc.right, 100 + w);
        }
        // Every pixel of the cell is still painted in the background.
        const auto calls = dc.Calls(CDCCall::Kind::textOut);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].rc.left, 100);
        EXPECT_EQ(calls[0].rc.right, calls[1].rc.left);
    }
}

TEST_F(NormalCell, TextThatFitsIsNotCutAndStyleZeroNeverCuts)
{
    // 6 characters = 42 px fit 48 px less 6.
    EXPECT_EQ(Draw(Text("012345", 0, 4), {0, 0, 48, 20}).TextStrings(),
              std::vector<std::string>{"012345"});
    EXPECT_EQ(Draw(Text("0123456789", 0, 0), {0, 0, 20, 20}).TextStrings(),
              std::vector<std::string>{"0123456789"});
}

TEST_F(NormalCell, WordWrapFillsThenWrapsInTheRectangle)
{
    const CRecordingGridDC dc = Draw(Text("a few words", kAlignRight, 2), {5, 5, 60, 45});
    ASSERT_EQ(dc.m_calls.size(), 2u);
    EXPECT_EQ(dc.Fills().at(0).rc, (CGridRect{5, 5, 60, 45}));
    const auto wrapped = dc.Calls(CDCCall::Kind::wrappedText);
    ASSERT_EQ(wrapped.size(), 1u);
    EXPECT_EQ(wrapped[0].rc, (CGridRect{5, 5, 60, 45}));
    EXPECT_EQ(wrapped[0].str, "a few words");
}

TEST_F(NormalCell, LabelStyleShowsTheLabel)
{
    CUGCell cell = Text("text", 0, 8);
    cell.SetLabel("label");
    EXPECT_EQ(Draw(cell, {0, 0, 100, 20}).TextStrings(), std::vector<std::string>{"label"});
    cell.SetCellTypeEx(-5); // a negative style counts as 0
    EXPECT_EQ(Draw(cell, {0, 0, 100, 20}).TextStrings(), std::vector<std::string>{"text"});
}

TEST_F(NormalCell, ColoursFollowSelectionAndTheCurrentCellStyle)
{
    CUGCell cell = Text("x");
    cell.SetTextColor(MakeRGB(1, 1, 1));
    cell.SetBackColor(MakeRGB(2, 2, 2));
    cell.SetHighlightTextColor(MakeRGB(3, 3, 3));
    cell.SetHighlightBackColor(MakeRGB(4, 4, 4));
    auto colors = [&](int bSel, int bCur) {
        const CDCCall c = Draw(cell, {0, 0, 50, 20}, bSel, bCur).Texts().at(0);
        return std::pair{c.crText, c.crBack};
    };
    const std::pair normal{MakeRGB(1, 1, 1), MakeRGB(2, 2, 2)};
    const std::pair high{MakeRGB(3, 3, 3), MakeRGB(4, 4, 4)};
    EXPECT_EQ(colors(0, 0), normal);
    EXPECT_EQ(colors(1, 0), high);
    m_grid.SetCurrentCellStyle(1);
    EXPECT_EQ(colors(0, 1), normal);
    m_grid.SetCurrentCellStyle(3);
    EXPECT_EQ(colors(0, 1), high);

    // Unset colours fall back to the system's.
    const CDCCall c = Draw(Text("x"), {0, 0, 50, 20}).Texts().at(0);
    EXPECT_EQ(c.crText, GetGridSysColor(GridSysColor::windowText));
    EXPECT_EQ(c.crBack, GetGridSysColor(GridSysColor::window));
}

TEST_F(NormalCell, ColoursAndFontAreRestoredAfterDrawing)
{
    CRecordingGridDC dc;
    const CGridFont font{"Arial", -12, 700};
    CUGCell cell = Text("x");
    cell.SetFont(&font);
    cell.SetTextColor(MakeRGB(9, 9, 9));
    m_grid.GetCellType(0)->DrawCell(dc, {0, 0, 40, 20}, cell, 0, 0);
    EXPECT_EQ(dc.Texts().at(0).font, font);
    EXPECT_EQ(dc.SelectedFont(), nullptr);
    EXPECT_EQ(dc.SetTextColor(0), 0u);
    EXPECT_EQ(dc.SetBkColor(0), 0xFFFFFFu);
}

TEST_F(NormalCell, BitmapSitsAtTheLeftAndPushesTheTextRight)
{
    const FakeBitmap bitmap;
    CUGCell cell = Text("t");
    cell.SetBitmap(&bitmap);
    const CRecordingGridDC dc = Draw(cell, {10, 0, 110, 20});
    const auto bitmaps = dc.Calls(CDCCall::Kind::bitmap);
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(bitmaps[0].x, 10);
    EXPECT_EQ(bitmaps[0].y, 0);
    EXPECT_EQ(bitmaps[0].rc, (CGridRect{10, 0, 26, 20}));
    EXPECT_EQ(dc.Texts().at(0).x, 29);
    EXPECT_EQ(dc.Texts().at(0).rc, (CGridRect{26, 0, 110, 20}));
}

TEST_F(NormalCell, ScaledDrawingGrowsTheFontWithTheRow)
{
    m_grid.SetGridFont({"Arial", 9, 400});
    CRecordingGridDC dc;
    // A 16-pixel screen row printed 48 pixels high: height 9 x 48 / 16.
    m_grid.GetCellType(0)->DrawCellScaled(dc, {0, 0, 300, 48}, Text("x"), 0, 16);
    const CDCCall c = dc.Texts().at(0);
    EXPECT_EQ(c.font, (CGridFont{"Arial", 27, 400}));
    EXPECT_EQ(c.crBack, GetGridSysColor(GridSysColor::window)); // never highlighted

    const CGridFont own{"Courier", -10, 700};
    CUGCell cell = Text("y");
    cell.SetFont(&own);
    CRecordingGridDC dc2;
    m_grid.GetCellType(0)->DrawCellScaled(dc2, {0, 0, 300, 30}, cell, 0, 20);
    EXPECT_EQ(dc2.Texts().at(0).font, (CGridFont{"Courier", -15, 700}));
}

// ---- the cell type list and the other types ---------------------------------------

TEST(GridCellTypes, RegisteredInOrderAndSelectedById)
{
    CUGCtrl grid;
    EXPECT_EQ(grid.GetCellType(0)->GetTypeId(), kCellTypeNormal);
    EXPECT_EQ(grid.GetCellType(-1)->GetTypeId(), kCellTypeNormal);
    EXPECT_EQ(grid.GetCellType(3)->GetTypeId(), kCellTypeNormal); // nobody has id 3
    for (int nId : {kCellTypeCheckBox, kCellTypeDropList, kCellTypeArrow, kCellTypeFittedText,
                    kCellTypeProgress, kCellTypeSpin})
        EXPECT_EQ(grid.GetCellType(nId)->GetTypeId(), nId);
}

namespace {

class EventGrid : public CUGCtrl {
public:
    std::vector<std::array<int, 5>> m_events;
    void OnCellTypeEvent(int nType, int nCol, int nRow, int nMsg, int nParam) override
    {
        m_events.push_back({nType, nCol, nRow, nMsg, nParam});
    }
};

} // namespace

TEST(GridCellTypes, CheckBoxGeometryDrawingAndToggling)
{
    EXPECT_EQ(CCheckBoxCellType::BoxRect({10, 100, 110, 120}), (CGridRect{13, 104, 25, 116}));
    EXPECT_EQ(CCheckBoxCellType::BoxRect({0, 0, 50, 14}), (CGridRect{3, 3, 11, 11}));
    EXPECT_TRUE(CCheckBoxCellType::BoxRect({0, 0, 50, 6}).IsEmpty());

    EventGrid grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    CUGCell cell;
    cell.SetCellType(kCellTypeCheckBox);
    grid.WriteCell(1, 1, &cell);
    CGridCellType* pType = grid.GetCellType(kCellTypeCheckBox);

    // Unchecked: the box frame only; checked: a mark inside it too.
    CUGCell shown;
    grid.ResolveCell(1, 1, &shown);
    CRecordingGridDC dcOff;
    pType->DrawCell(dcOff, {0, 0, 100, 20}, shown, 0, 0);
    const std::size_t nFrameLines = dcOff.Lines().size();
    EXPECT_EQ(nFrameLines, 4u);

    // A click outside the box is not the type's; inside it toggles.
    EXPECT_EQ(pType->HandleLeftClick(1, 1, 1, {0, 0, 100, 20}, {50, 10}), -1);
    EXPECT_EQ(pType->HandleLeftClick(1, 1, 1, {0, 0, 100, 20}, {5, 10}), 1);
    grid.ResolveCell(1, 1, &shown);
    EXPECT_GT(shown.GetNumber(), 0);
    CRecordingGridDC dcOn;
    pType->DrawCell(dcOn, {0, 0, 100, 20}, shown, 0, 0);
    EXPECT_GT(dcOn.Lines().size(), nFrameLines);

    // Space on the current cell and a double click toggle back and forth.
    EXPECT_EQ(grid.MoveCurrentCell(1, 1), kGridDone);
    int nKey = kCheckToggleKey;
    EXPECT_EQ(pType->HandleKeyDown(&nKey), 1);
    grid.ResolveCell(1, 1, &shown);
    EXPECT_EQ(shown.GetNumber(), 0);
    EXPECT_EQ(pType->HandleDoubleClick(1, 1, {0, 0, 100, 20}, {50, 10}), 1);
    grid.ResolveCell(1, 1, &shown);
    EXPECT_EQ(shown.GetNumber(), 1);
    nKey = 'A';
    EXPECT_EQ(pType->HandleKeyDown(&nKey), -1);
}

TEST(GridCellTypes, SpinAndDropListReportTheirButtons)
{
    EventGrid grid;
    const CGridRect rc{0, 0, 100, 20};
    EXPECT_EQ(CSpinCellType::UpButtonRect(rc), (CGridRect{84, 0, 100, 10}));
    EXPECT_EQ(CSpinCellType::DownButtonRect(rc), (CGridRect{84, 10, 100, 20}));
    CGridCellType* pSpin = grid.GetCellType(kCellTypeSpin);
    EXPECT_EQ(pSpin->HandleLeftClick(2, 3, 1, rc, {90, 2}), 1);
    EXPECT_EQ(pSpin->HandleLeftClick(2, 3, 1, rc, {90, 15}), 1);
    EXPECT_EQ(pSpin->HandleLeftClick(2, 3, 1, rc, {20, 15}), -1);
    EXPECT_EQ(pSpin->HandleLeftClick(2, 3, 0, rc, {90, 15}), -1); // release
    CGridCellType* pDrop = grid.GetCellType(kCellTypeDropList);
    EXPECT_EQ(pDrop->HandleLeftClick(4, 5, 1, rc, {95, 5}), 1);
    EXPECT_EQ(pDrop->HandleLeftClick(4, 5, 1, rc, {10, 5}), -1);
    EXPECT_EQ(grid.m_events,
              (std::vector<std::array<int, 5>>{{kCellTypeSpin, 2, 3, kSpinUp, 0},
                                               {kCellTypeSpin, 2, 3, kSpinDown, 0},
                                               {kCellTypeDropList, 4, 5, kDropListOpen, 0}}));
}

TEST(GridCellTypes, ProgressBarSplitsTheCellAtThePercentage)
{
    CUGCtrl grid;
    CGridCellType* pType = grid.GetCellType(kCellTypeProgress);
    CUGCell cell;
    cell.SetText("42");
    CRecordingGridDC dc;
    pType->DrawCell(dc, {0, 0, 200, 20}, cell, 0, 0);
    const auto texts = dc.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].str, "% 42");
    EXPECT_EQ(texts[0].rc, (CGridRect{0, 0, 84, 20}));
    EXPECT_EQ(texts[0].crBack, GetGridSysColor(GridSysColor::highlight));
    EXPECT_EQ(texts[1].rc, (CGridRect{84, 0, 200, 20}));
    EXPECT_EQ(texts[1].crBack, GetGridSysColor(GridSysColor::window));
    EXPECT_EQ(texts[0].x, texts[1].x); // one text across both parts

    for (auto [psz, n] : {std::pair{"250", 100}, {"-7", 0}, {"abc", 0}, {"100", 100}}) {
        cell.SetText(psz);
        EXPECT_EQ(CProgressCellType::Percent(cell), n) << psz;
    }
    cell.SetCellTypeEx(kProgressStyleLabel);
    cell.SetLabel("busy");
    CRecordingGridDC dcLabel;
    pType->DrawCell(dcLabel, {0, 0, 200, 20}, cell, 0, 0);
    EXPECT_EQ(dcLabel.Texts().at(0).str, "busy");
}

TEST(GridCellTypes, FittedTextSizeFillsTheWidthWithinLimits)
{
    CUGCtrl grid;
    auto* pType = static_cast<CFittedTextCellType*>(grid.GetCellType(kCellTypeFittedText));
    CRecordingGridDC dc;
    CUGCell cell;
    cell.SetText("abcd"); // 4 characters of height/2 each: width = 2 x height
    EXPECT_EQ(pType->FittedHeight(dc, {0, 0, 46, 40}, cell), 20);  // 40 wide less 6
    EXPECT_EQ(pType->FittedHeight(dc, {0, 0, 406, 40}, cell), 40); // capped by the height
    EXPECT_EQ(pType->FittedHeight(dc, {0, 0, 8, 40}, cell), 2);    // at least 2
    cell.SetText("");
    EXPECT_EQ(pType->FittedHeight(dc, {0, 0, 100, 900}, cell), 500);
    cell.SetText("abcd");
    pType->DrawCell(dc, {0, 0, 46, 40}, cell, 0, 0);
    EXPECT_EQ(dc.Texts().at(0).font.nHeight, -20);
}

TEST(GridCellTypes, ArrowDrawsInTheTextColour)
{
    CUGCtrl grid;
    CUGCell cell;
    cell.SetTextColor(MakeRGB(10, 20, 30));
    for (int nStyle : {kArrowRight, kArrowLeft, kArrowUp, kArrowDown}) {
        cell.SetCellTypeEx(nStyle);
        CRecordingGridDC dc;
        grid.GetCellType(kCellTypeArrow)->DrawCell(dc, {0, 0, 30, 30}, cell, 0, 0);
        const auto lines = dc.Lines();
        ASSERT_FALSE(lines.empty());
        for (const CDCCall& line : lines) {
            EXPECT_EQ(line.crPen, MakeRGB(10, 20, 30));
            EXPECT_TRUE(CGridRect({0, 0, 30, 30}).Contains(line.x, line.y)) << nStyle;
        }
    }
}
