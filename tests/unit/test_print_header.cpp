// The page header of printed grids: the nine texts at their device-unit
// offsets, the title centred by its measured width, the header font for
// the printer's resolution.
#include "accounting/Acc.h"
#include "support/RecordingGridDC.h"
#include "view/PrintHeader.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CDCCall;
using hpa::test::CRecordingGridDC;

namespace {

CAcc MakeAcc()
{
    CAcc acc;
    acc.m_strDownloadDate = "03/07/2024";
    acc.m_strDownloadTime = "14:05:09";
    acc.m_strHost = "PRN-4";
    return acc;
}

} // namespace

TEST(PrintHeader, NineTextsAtFixedDeviceUnitsFromThePageEdges)
{
    const CAcc acc = MakeAcc();
    const auto texts = PrintHeaderTexts({0, 0, 2480, 3508}, acc, 12, "JOB", 60);
    const std::array<CPrintHeaderText, 9> expected = {{
        {"Date:", 100, 100},
        {"03/07/2024", 300, 100},
        {"Time:", 100, 200},
        {"14:05:09", 300, 200},
        {"Host:", 1580, 100},
        {"PRN-4", 1780, 100},
        {"Page:", 1580, 200},
        {"12", 1780, 200},
        {"JOB", 1210, 100},
    }};
    EXPECT_EQ(texts, expected);
}

TEST(PrintHeader, PageOriginMovesEverythingButTheTitle)
{
    // The title is centred on half the page's width, halves truncated,
    // without the left edge added.
    const CAcc acc = MakeAcc();
    const auto texts = PrintHeaderTexts({10, 20, 2411, 3000}, acc, 1, "PAPER", 301);
    EXPECT_EQ(texts[0].x, 110);
    EXPECT_EQ(texts[0].y, 120);
    EXPECT_EQ(texts[4].x, 2411 - 900);
    EXPECT_EQ(texts[7].y, 220);
    EXPECT_EQ(texts[8].x, 2401 / 2 - 301 / 2);
    EXPECT_EQ(texts[8].y, 120);
}

TEST(PrintHeader, FontIsEightPointArialForTheResolution)
{
    EXPECT_EQ(PrintHeaderFont(300), (CGridFont{"Arial", -33, 400, false, false}));
    EXPECT_EQ(PrintHeaderFont(600).nHeight, -66);
    EXPECT_EQ(PrintHeaderFont(96).nHeight, -10);
}

TEST(PrintHeader, DrawnInTheHeaderFontWhichIsThenDeselected)
{
    const CAcc acc = MakeAcc();
    CRecordingGridDC dc;
    const CGridFont before{"Before", -12, 400, false, false};
    dc.SelectFont(&before);
    const CGridFont headerFont = PrintHeaderFont(300); // the recorder: 16 pixels a character
    DrawPrintPageHeader(dc, headerFont, {0, 0, 2400, 3300}, acc, 3, "STATUS");

    const std::vector<CDCCall> texts = dc.Texts();
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(dc.TextStrings(),
              (std::vector<std::string>{"Date:", "03/07/2024", "Time:", "14:05:09",
                                        "Host:", "PRN-4", "Page:", "3", "STATUS"}));
    for (const CDCCall& c : texts) {
        EXPECT_EQ(c.font, headerFont);
        EXPECT_FALSE(c.bOpaque);
    }
    EXPECT_EQ(texts[8].x, 1200 - 6 * 16 / 2);
    EXPECT_EQ(texts[7].x, 1700);
    EXPECT_EQ(dc.SelectedFont(), &before);
}
