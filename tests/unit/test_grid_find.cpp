// The find dialog's life, its messages and the searches they run: the
// current column only, from the row after the current one, no wrap-around.
#include "support/RecordingMessages.h"
#include "test_grid_input_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CInputGrid;

namespace {

// A dialog without a window system: the test sets its fields and clicks.
class CFakeFindDialog : public CGridFindDialog {
public:
    explicit CFakeFindDialog(CGridFind& find, int* pnAlive) : m_find(find), m_pnAlive(pnAlive)
    {
        ++*m_pnAlive;
    }
    ~CFakeFindDialog() override { --*m_pnAlive; }
    bool HasWindow() const override { return m_bWindow; }
    bool IsTerminating() const override { return m_bTerminating; }
    std::string FindWhat() const override { return m_strWhat; }
    bool MatchWholeWord() const override { return m_bWholeWord; }
    bool MatchCase() const override { return m_bMatchCase; }
    bool SearchDown() const override { return m_bDown; }
    void DestroyWindow() override { m_bWindow = false; }
    void ActivateWindow() override { ++m_nActivated; }

    void FindNext() { m_find.OnFindMessage(this); }
    void Cancel()
    {
        m_bTerminating = true;
        m_find.OnFindMessage(this);
    }

    CGridFind& m_find;
    int* m_pnAlive;
    bool m_bWindow = true;
    bool m_bTerminating = false;
    std::string m_strWhat;
    bool m_bWholeWord = false;
    bool m_bMatchCase = false;
    bool m_bDown = true;
    int m_nActivated = 0;
};

class GridFind : public ::testing::Test {
protected:
    void SetUp() override
    {
        hpa::test::MakeInputGrid(m_grid, 3, 10);
        m_grid.SetHost(&m_host);
        CGridFind& find = m_grid.GetFind();
        find.SetMessages(&m_messages);
        find.SetDialogFactory([this](CGridFind& f) {
            auto pDlg = std::make_unique<CFakeFindDialog>(f, &m_nAlive);
            m_pDlg = pDlg.get();
            return pDlg;
        });
    }
    void TearDown() override { m_grid.SetHost(nullptr); }
    // Opens the dialog with the current cell at (col, row) and the text set.
    CFakeFindDialog& Open(int nCol, int nRow, const std::string& strWhat)
    {
        EXPECT_EQ(m_grid.MoveCurrentCell(nCol, nRow), kGridDone);
        EXPECT_EQ(m_grid.OpenFindDialog(), 0);
        m_pDlg->m_strWhat = strWhat;
        return *m_pDlg;
    }
    int NotFoundCount() const
    {
        int n = 0;
        for (const auto& msg : m_messages.m_messages) {
            EXPECT_EQ(msg.strText, "The search item was not found");
            EXPECT_EQ(msg.strCaption, "HPA");
            EXPECT_EQ(msg.icon, MessageIcon::Information);
            ++n;
        }
        return n;
    }

    CInputGrid m_grid;
    hpa::test::CCountingHost m_host;
    test::CRecordingMessages m_messages;
    CFakeFindDialog* m_pDlg = nullptr;
    int m_nAlive = 0;
};

} // namespace

TEST_F(GridFind, OnlyOneDialogAtATime)
{
    EXPECT_FALSE(m_grid.IsFindDialogOpen());
    ASSERT_EQ(m_grid.OpenFindDialog(), 0);
    CFakeFindDialog* pFirst = m_pDlg;
    EXPECT_TRUE(m_grid.IsFindDialogOpen());
    EXPECT_TRUE(m_grid.GetFind().IsFirstSearch());
    EXPECT_EQ(m_grid.OpenFindDialog(), 1);
    EXPECT_EQ(m_pDlg, pFirst);
    EXPECT_EQ(m_nAlive, 1);

    EXPECT_EQ(m_grid.CloseFindDialog(), 1);
    EXPECT_EQ(m_nAlive, 0);
    EXPECT_FALSE(m_grid.IsFindDialogOpen());
    EXPECT_FALSE(m_grid.GetFind().IsFirstSearch());
    EXPECT_EQ(m_grid.CloseFindDialog(), 0);

    // Without a window layer no dialog can open.
    m_grid.GetFind().SetDialogFactory(nullptr);
    EXPECT_EQ(m_grid.OpenFindDialog(), 1);
}

TEST_F(GridFind, TheStartRowIsNeverTested)
{
    m_grid.SetCellText(1, 3, "needle");
    CFakeFindDialog& dlg = Open(1, 3, "needle");
    dlg.FindNext();
    EXPECT_EQ(NotFoundCount(), 1);
    EXPECT_EQ(dlg.m_nActivated, 1);
    EXPECT_EQ(m_grid.GetCurrentRow(), 3);
    EXPECT_FALSE(m_grid.GetFind().IsFirstSearch());
}

TEST_F(GridFind, CaseFoldingAndWholeWords)
{
    m_grid.SetCellText(0, 2, "xABCx");
    m_grid.SetCellText(0, 5, "x ABC y");
    m_grid.SetCellText(1, 7, "abc"); // another column is never looked at
    CFakeFindDialog& dlg = Open(0, 0, "abc");
    dlg.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 2);
    dlg.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 5);
    dlg.FindNext();
    EXPECT_EQ(NotFoundCount(), 1);
    EXPECT_EQ(m_grid.GetCurrentRow(), 5);

    EXPECT_EQ(m_grid.MoveCurrentCell(0, 0), kGridDone);
    dlg.m_bWholeWord = true;
    dlg.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 5);

    EXPECT_EQ(m_grid.MoveCurrentCell(0, 0), kGridDone);
    dlg.m_bWholeWord = false;
    dlg.m_bMatchCase = true;
    dlg.FindNext();
    EXPECT_EQ(NotFoundCount(), 2);
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(m_grid.GetCurrentStore()->m_bFindCaseSensitive, 1);
}

TEST_F(GridFind, NoWrapAroundInEitherDirection)
{
    m_grid.SetCellText(2, 1, "end");
    m_grid.SetCellText(2, 9, "last");
    CFakeFindDialog& dlg = Open(2, 9, "end");
    dlg.FindNext();
    EXPECT_EQ(NotFoundCount(), 1);
    EXPECT_EQ(m_grid.GetCurrentRow(), 9);

    dlg.m_bDown = false;
    dlg.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 1);
    dlg.FindNext();
    EXPECT_EQ(NotFoundCount(), 2);
    EXPECT_EQ(m_grid.GetCurrentStore()->m_bFindForward, 0);
}

TEST_F(GridFind, AVetoedMoveLeavesTheCurrentCell)
{
    m_grid.SetCellText(0, 4, "here");
    CFakeFindDialog& dlg = Open(0, 0, "here");
    m_grid.m_bVetoMove = true;
    dlg.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(NotFoundCount(), 0);
}

TEST_F(GridFind, ClosingFromTheDialogClearsTheStateAndRefocusesTheGrid)
{
    CFakeFindDialog& dlg = Open(0, 0, "x");
    dlg.Cancel();
    EXPECT_FALSE(m_grid.IsFindDialogOpen());
    EXPECT_EQ(m_nAlive, 0);
    EXPECT_EQ(m_host.m_nFocus, 1);
    EXPECT_EQ(m_grid.OpenFindDialog(), 0);
}

TEST_F(GridFind, MessagesFromAStaleOrWindowlessDialogAreIgnored)
{
    m_grid.SetCellText(0, 4, "here");
    CFakeFindDialog& dlg = Open(0, 0, "here");
    int nOtherAlive = 0;
    CFakeFindDialog stranger(m_grid.GetFind(), &nOtherAlive);
    stranger.m_strWhat = "here";
    stranger.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);

    dlg.m_bWindow = false;
    dlg.FindNext();
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_TRUE(m_grid.GetFind().IsFirstSearch());

    // Its window went away with its owner: a new dialog may open.
    EXPECT_EQ(m_grid.OpenFindDialog(), 0);
    EXPECT_EQ(m_nAlive, 1);
}
