// View > Filters...: the "Filter Data" dialog's lists and checks, the masks
// and counts OK builds, "&Default" and Cancel, the profile write, when the
// question is asked and what a Yes refills.
#include "platform/Profile.h"
#include "support/AccFixture.h"
#include "ui/HelpWindow.h"
#include "view/qt/FilterDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace hpa {
namespace {

using test::CAccFixture;

std::vector<std::string> ItemTexts(const QListWidget* pList)
{
    std::vector<std::string> texts;
    for (int i = 0; i < pList->count(); ++i)
        texts.push_back(pList->item(i)->text().toStdString());
    return texts;
}

template <std::size_t N> std::vector<std::string> Expected(const std::array<const char*, N>& items)
{
    return {items.begin(), items.end()};
}

CFilterChecks AllOff()
{
    return {};
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream out;
    out << file.rdbuf();
    return out.str();
}

} // namespace

// ---- checks and masks -----------------------------------------------------------------------

TEST(FilterMasks, ChecksFromTheMasksWithTheGroupedItemsReadFromTheEnd)
{
    // Position 22 on and 25 off: "Color ink" checked, "Index count/index" not.
    const CFilterChecks checks =
        FilterChecksFromMasks("100011011011000000000011100", "110000", "10101000101000000");
    EXPECT_TRUE(checks.m_bJob[0]);
    EXPECT_FALSE(checks.m_bJob[1]);
    EXPECT_TRUE(checks.m_bJob[4]);
    EXPECT_TRUE(checks.m_bJob[22]);
    EXPECT_FALSE(checks.m_bJob[23]);
    EXPECT_EQ(checks.m_bPaper, (std::array<bool, 6>{true, true, false, false, false, false}));
    EXPECT_TRUE(checks.m_bStatus[0] && checks.m_bStatus[2] && checks.m_bStatus[10]);
    EXPECT_FALSE(checks.m_bStatus[1]);

    // Index on, colour off; a short paper mask reads as unchecked past its end.
    const CFilterChecks other =
        FilterChecksFromMasks("000000000000000000000000011", "1", "00000000000000001");
    EXPECT_FALSE(other.m_bJob[22]);
    EXPECT_TRUE(other.m_bJob[23]);
    EXPECT_EQ(other.m_bPaper, (std::array<bool, 6>{true, false, false, false, false, false}));
    EXPECT_TRUE(other.m_bStatus[16]);
}

TEST(FilterMasks, ColorInkGivesThreePositionsAndThreeColumns)
{
    CFilterChecks checks = AllOff();
    checks.m_bJob[22] = true;
    CFieldMasks masks;
    BuildMasksFromChecks(checks, masks);
    EXPECT_EQ(masks.m_strJobMask, "000000000000000000000011100");
    EXPECT_EQ(masks.m_nJobColumns, 3);

    checks.m_bJob[23] = true; // Index count/index: positions 25 and 26, two columns
    checks.m_bJob[0] = true;
    checks.m_bJob[21] = true; // Black ink: position 21 alone
    BuildMasksFromChecks(checks, masks);
    EXPECT_EQ(masks.m_strJobMask, "100000000000000000000111111");
    EXPECT_EQ(masks.m_nJobColumns, 7);
    EXPECT_EQ(MaskProblem(kKindJob, masks.m_strJobMask), nullptr);
}

TEST(FilterMasks, NothingCheckedGivesFullLengthZeroMasks)
{
    CFieldMasks masks; // the defaults, with their counts
    BuildMasksFromChecks(AllOff(), masks);
    EXPECT_EQ(masks.m_strJobMask, std::string(27, '0'));
    EXPECT_EQ(masks.m_strPaperMask, "000000");
    EXPECT_EQ(masks.m_strStatusMask, std::string(17, '0'));
    EXPECT_EQ(masks.m_nJobColumns, 0);
    EXPECT_EQ(masks.m_nPaperColumns, 0);
    EXPECT_EQ(masks.m_nStatusRows, 0);

    CFilterChecks checks = AllOff();
    checks.m_bPaper = {false, true, false, false, false, true};
    checks.m_bStatus[16] = true;
    BuildMasksFromChecks(checks, masks);
    EXPECT_EQ(masks.m_strPaperMask, "010001");
    EXPECT_EQ(masks.m_nPaperColumns, 2);
    EXPECT_EQ(masks.m_strStatusMask, "00000000000000001");
    EXPECT_EQ(masks.m_nStatusRows, 1);
}

// ---- the dialog -------------------------------------------------------------------------------

TEST(FilterDialog, ListsHoldTheCatalogueItemsCheckedFromTheMasks)
{
    CFieldMasks masks;
    masks.m_strJobMask = "100000000000000000000011100";
    masks.Recount();
    CFilterDlg dialog(masks);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Filter Data");
    EXPECT_EQ(ItemTexts(dialog.JobList()), Expected(kJobFilterItems));
    EXPECT_EQ(ItemTexts(dialog.PaperList()), Expected(kPaperFilterItems));
    EXPECT_EQ(ItemTexts(dialog.StatusList()), Expected(kStatusFilterItems));
    EXPECT_EQ(dialog.Checks(), FilterChecksFromMasks(masks.m_strJobMask, masks.m_strPaperMask,
                                                     masks.m_strStatusMask));
    EXPECT_EQ(dialog.JobList()->item(22)->checkState(), Qt::Checked);
    EXPECT_EQ(dialog.OldJobMask(), "100000000000000000000011100");
}

TEST(FilterDialog, DefaultSetsOnlyTheChecksAndCancelKeepsTheMasks)
{
    CFieldMasks masks;
    masks.m_strJobMask = std::string(27, '0');
    masks.m_strPaperMask = "001111";
    masks.m_strStatusMask = std::string(17, '1');
    masks.Recount();
    const CFieldMasks before = masks;
    CFilterDlg dialog(masks);
    QTest::mouseClick(dialog.DefaultButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Checks(),
              FilterChecksFromMasks(kDefaultJobMask, kDefaultPaperMask, kDefaultStatusMask));
    EXPECT_EQ(masks.m_strPaperMask, "001111"); // not until OK
    dialog.reject();
    EXPECT_EQ(masks.m_strJobMask, before.m_strJobMask);
    EXPECT_EQ(masks.m_strPaperMask, before.m_strPaperMask);
    EXPECT_EQ(masks.m_strStatusMask, before.m_strStatusMask);
    EXPECT_EQ(masks.m_nStatusRows, 17);
}

TEST(FilterDialog, OkStoresTheMasksOfTheChecks)
{
    CFieldMasks masks;
    CFilterDlg dialog(masks);
    // A click on "Color ink"'s box; the list shows it after scrolling.
    QListWidgetItem* pItem = dialog.JobList()->item(22);
    pItem->setCheckState(Qt::Checked);
    dialog.PaperList()->item(0)->setCheckState(Qt::Unchecked);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(masks.m_strJobMask, "100011011011000000000011100");
    EXPECT_EQ(masks.m_nJobColumns, 10);
    EXPECT_EQ(masks.m_strPaperMask, "010000");
    EXPECT_EQ(masks.m_nPaperColumns, 1);
}

TEST(FilterDialog, F1ShowsTheFiltersHelpTopic)
{
    CFieldMasks masks;
    CFilterDlg dialog(masks);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_F1);
    ASSERT_NE(CHelpWindow::Existing(), nullptr);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), HelpPageForContext(0x1800E));
    EXPECT_TRUE(dialog.isVisible()); // help does not end the dialog
    CHelpWindow::Existing()->close();
}

// ---- the command --------------------------------------------------------------------------------

namespace {

// A download's working files and grids, decoded with the fixture's masks.
class FilterCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::filesystem::path data =
            std::filesystem::path(HPA_SOURCE_DIR) / "testdata" / "decode" / "office";
        for (const char* pszName : {"STA.tmp", "DIC.tmp", "PAP.tmp", "JOB.tmp"})
            m_fix.Write(pszName, ReadFile(data / pszName));
        m_fix.m_acc.ReadStatusFile();
        m_fix.m_acc.ReadDictionaryFile();
        m_fix.m_acc.FillStatusGrid();
        m_fix.m_acc.ReadPaperFile();
        m_fix.m_acc.ReadJobFile();
        m_fix.m_messages.m_answer = MessageAnswer::Yes;
    }

    // Runs the command; the dialog gets the checks given and OK.
    bool Run(const std::function<void(CFilterDlg&)>& fnEdit, bool bOk = true)
    {
        CFilterContext context;
        context.m_pMasks = &m_fix.m_masks;
        context.m_pProfile = &m_profile;
        context.m_pMessages = &m_fix.m_messages;
        context.m_fnIsModified = [this] { return m_bModified; };
        context.m_pAcc = &m_fix.m_acc;
        context.m_pShownGrid = &m_fix.Grid(kKindStatus);
        context.m_fnFocusShownGrid = [this] { ++m_nFocused; };
        context.m_fnRunDialog = [&](CFilterDlg& dialog) {
            fnEdit(dialog);
            if (bOk)
                dialog.accept();
            else
                dialog.reject();
            return bOk;
        };
        return OnFilters(context);
    }
    std::size_t Questions() const
    {
        std::size_t n = 0;
        for (const auto& m : m_fix.m_messages.m_messages)
            n += m.strKind == "question" && m.strText == kMsgApplyFilters;
        return n;
    }

    CAccFixture m_fix;
    CMemoryProfile m_profile;
    bool m_bModified = true;
    int m_nFocused = 0;
};

} // namespace

TEST_F(FilterCommand, OkWithoutChangesRewritesTheProfileAndAsksNothing)
{
    EXPECT_TRUE(Run([](CFilterDlg&) {}));
    EXPECT_EQ(m_profile.GetString(kProfileSection, "JobMask"), kDefaultJobMask);
    EXPECT_EQ(m_profile.GetString(kProfileSection, "PaperMask"), kDefaultPaperMask);
    EXPECT_EQ(m_profile.GetString(kProfileSection, "StatusMask"), kDefaultStatusMask);
    EXPECT_EQ(Questions(), 0u);
    EXPECT_EQ(m_nFocused, 1);
}

TEST_F(FilterCommand, CancelChangesNothingAndStillFocusesTheGrid)
{
    EXPECT_FALSE(Run([](CFilterDlg& d) { d.SetChecks({}); }, false));
    EXPECT_FALSE(m_profile.Has(kProfileSection, "JobMask"));
    EXPECT_EQ(m_fix.m_masks.m_strJobMask, kDefaultJobMask);
    EXPECT_EQ(m_nFocused, 1);
}

TEST_F(FilterCommand, NotModifiedDocumentStoresTheMasksWithoutAsking)
{
    m_bModified = false;
    const auto jobRows = m_fix.Rows(kKindJob);
    Run([](CFilterDlg& d) { d.JobList()->item(22)->setCheckState(Qt::Checked); });
    EXPECT_EQ(Questions(), 0u);
    EXPECT_EQ(m_profile.GetString(kProfileSection, "JobMask"), "100011011011000000000011100");
    EXPECT_EQ(m_fix.Rows(kKindJob), jobRows); // refilled only by the next download
}

TEST_F(FilterCommand, NoKeepsTheGridsAndTheNewMasks)
{
    m_fix.m_messages.m_answer = MessageAnswer::No;
    const auto jobRows = m_fix.Rows(kKindJob);
    Run([](CFilterDlg& d) { d.JobList()->item(22)->setCheckState(Qt::Checked); });
    EXPECT_EQ(Questions(), 1u);
    EXPECT_EQ(m_fix.Rows(kKindJob), jobRows);
    EXPECT_EQ(m_fix.m_masks.m_nJobColumns, 10);
}

TEST_F(FilterCommand, YesWithColorInkAddsThreeJobColumns)
{
    ASSERT_EQ(m_fix.Grid(kKindJob).ColumnCount(), 7);
    Run([](CFilterDlg& d) { d.JobList()->item(22)->setCheckState(Qt::Checked); });
    EXPECT_EQ(Questions(), 1u);
    EXPECT_EQ(m_fix.Grid(kKindJob).ColumnCount(), 10);
    EXPECT_EQ(m_fix.Rows(kKindJob)[0],
              "|Job Id|Completion Code|User|Connection|File|Compile Time|Print Time"
              "|Cyan Ink|Magenta Ink|Yellow Ink");
    EXPECT_EQ(m_fix.Grid(kKindStatus).GetGridLayout().m_bPaintEnabled, 1);
}

TEST_F(FilterCommand, YesWithEveryJobItemOffEmptiesTheJobGridAndKeepsTheCounters)
{
    const CAcc before = m_fix.m_acc;
    Run([](CFilterDlg& d) {
        CFilterChecks checks = d.Checks();
        checks.m_bJob = {};
        d.SetChecks(checks);
    });
    EXPECT_EQ(m_fix.m_masks.m_strJobMask, std::string(27, '0'));
    EXPECT_EQ(m_fix.Grid(kKindJob).ColumnCount(), 0);
    EXPECT_EQ(m_fix.Grid(kKindJob).RowCount(), 0);
    EXPECT_EQ(m_fix.m_acc.m_nJobs, before.m_nJobs);
    EXPECT_EQ(m_fix.m_acc.m_nPrintingTime, before.m_nPrintingTime);
    EXPECT_EQ(m_fix.m_acc.m_nSimplexSheets, before.m_nSimplexSheets);
    EXPECT_EQ(m_fix.m_acc.m_nUsers, before.m_nUsers);
    EXPECT_EQ(m_fix.m_acc.m_nJobFileConsumption, before.m_nJobFileConsumption);
}

TEST_F(FilterCommand, YesRereadsOnlyTheKindsWhoseMaskChanged)
{
    // The job and status files change on disk; only the paper mask changes,
    // so only the paper file is read again.
    const auto jobRows = m_fix.Rows(kKindJob);
    const auto statusRows = m_fix.Rows(kKindStatus);
    m_fix.Write("JOB.tmp", "");
    m_fix.m_acc.m_strFieldValue[kFieldNumberOfJobs] = "0";
    Run([](CFilterDlg& d) { d.PaperList()->item(4)->setCheckState(Qt::Checked); });
    EXPECT_EQ(Questions(), 1u);
    EXPECT_EQ(m_fix.Grid(kKindPaper).ColumnCount(), 3);
    EXPECT_EQ(m_fix.Rows(kKindJob), jobRows);
    EXPECT_EQ(m_fix.Rows(kKindStatus), statusRows);
}

} // namespace hpa
