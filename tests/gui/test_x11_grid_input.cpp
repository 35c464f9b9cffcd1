// The job grid of an opened document under a real X server, worked with the
// mouse and the keyboard: a click, Shift+Down twice for a three-cell block,
// Control+click on its middle cell, Home, Control+End and Control+Home, a
// drag below the cells that keeps scrolling, Find from the toolbar with the
// text typed into its dialog, and Copy (Control+C) onto the X clipboard,
// read back here and by another X client.
#include "gui/test_x11_support.h"

#include "grid/UGCtrl.h"
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridFindDialog.h"
#include "grid/qt/GridWnd.h"
#include "support/TempDir.h"
#include "ui/CommandIds.h"
#include "view/qt/AccGrid.h"

#include <QClipboard>
#include <QLineEdit>
#include <QProcess>

#include <cctype>
#include <cstring>
#include <iostream>

namespace hpa {

namespace {

using namespace test::x11;

constexpr long kJobs = 400;
const char* const kPeerVariable = "HPA_X11_CLIPBOARD_PEER";

std::string CellText(CUGCtrl& grid, int nCol, int nRow)
{
    CUGCell cell;
    grid.ResolveCell(nCol, nRow, &cell);
    return cell.GetText();
}

std::string Upper(std::string str)
{
    for (char& ch : str)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return str;
}

// The clipboard as another X client gets it: this program once more, with
// only the peer test below. The owner must keep answering the request, so
// the event loop runs while the peer does.
QString ClipboardOfAnotherClient()
{
    QProcess peer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kPeerVariable, QStringLiteral("1"));
    peer.setProcessEnvironment(env);
    peer.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=X11ClipboardPeer.*")});
    if (!QTest::qWaitFor([&] { return peer.state() == QProcess::NotRunning; }, 30000)) {
        peer.kill();
        peer.waitForFinished();
        ADD_FAILURE() << "the clipboard peer did not finish";
    }
    const QString strOut = QString::fromUtf8(peer.readAllStandardOutput());
    const int nStart = strOut.indexOf(QStringLiteral("<<clipboard>>"));
    const int nEnd = strOut.indexOf(QStringLiteral("<</clipboard>>"));
    if (nStart < 0 || nEnd < nStart) {
        ADD_FAILURE() << "no clipboard from the peer:\n" << strOut.toStdString();
        return {};
    }
    const int nFrom = nStart + int(std::strlen("<<clipboard>>"));
    return strOut.mid(nFrom, nEnd - nFrom);
}

// The job grid of a generated document, shown and with the keyboard focus.
class X11GridInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        HPA_REQUIRE_X11();
        const fs::path document = m_dir.Path() / "jobs.hpa";
        ASSERT_FALSE(MakeDocument(m_dir.Path(), kJobs, document).empty());
        ASSERT_TRUE(m_program.Start({"--nosplash", document.string()}));
        m_pFrame = m_program.Frame();
        m_pView = m_program.View();
        ASSERT_NE(m_pView, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame));
        ASSERT_TRUE(Activate(m_pFrame));
        m_pFrame->ExecuteCommand(ID_DATA_JOB);
        m_pGrid = &m_pView->AccGrid(0);
        m_pArea = m_pView->GridWnd(0)->CellArea();
        ASSERT_TRUE(m_pArea->isVisible());
        ASSERT_GT(m_pGrid->RowCount(), 100);
        SettlePainting();
    }
    void TearDown() override
    {
        EXPECT_FALSE(m_watchdog.Fired()) << "a dialog had to be closed by the watchdog";
    }

    // The middle of a cell, in the cell area's pixels.
    QPoint CellPoint(int nCol, int nRow)
    {
        CGridRect rc;
        m_pGrid->GetCellRect(nCol, nRow, &rc);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void ClickCell(int nCol, int nRow, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Click(m_pArea, CellPoint(nCol, nRow), mods);
    }
    bool CurrentIs(int nCol, int nRow) const
    {
        return m_pGrid->GetCurrentColumn() == nCol && m_pGrid->GetCurrentRow() == nRow;
    }
    // The rows of the last fully visible cell area line.
    int VisibleRows() const { return m_pArea->height() / m_pGrid->GetDefaultRowHeight(); }
    // Copy is enabled once the command states have been brought up to date.
    bool WaitForCopyEnabled()
    {
        return WaitIdle([&] { return m_pFrame->CommandAction(ID_EDIT_COPY)->isEnabled(); }, 3000);
    }

    CWatchdog m_watchdog{40000};
    test::CTempDir m_dir;
    CX11Program m_program;
    CMainFrame* m_pFrame = nullptr;
    CVexAccView* m_pView = nullptr;
    CAccGrid* m_pGrid = nullptr;
    QWidget* m_pArea = nullptr;
};

} // namespace

TEST_F(X11GridInput, SelectingWithKeysAndControlClickThenCopyToTheXClipboard)
{
    const int nCol = 1;
    const int nRow = 2;
    ClickCell(nCol, nRow);
    EXPECT_TRUE(CurrentIs(nCol, nRow));
    EXPECT_EQ(QApplication::focusWidget(), m_pArea) << "the click gave the cells the focus";
    ASSERT_TRUE(Key(Qt::Key_Down, Qt::ShiftModifier));
    ASSERT_TRUE(Key(Qt::Key_Down, Qt::ShiftModifier));
    EXPECT_TRUE(CurrentIs(nCol, nRow + 2));
    for (int nRowIn = nRow; nRowIn <= nRow + 2; ++nRowIn)
        EXPECT_TRUE(m_pGrid->IsSelected(nCol, nRowIn)) << nRowIn;
    EXPECT_FALSE(m_pGrid->IsSelected(nCol, nRow + 3));
    EXPECT_FALSE(m_pGrid->IsSelected(nCol + 1, nRow));
    Keep(ScreenShot(), "grid-1-block-of-three");

    // Control+C copies the block: three texts, one per line.
    const QString strBlock = QString::fromStdString(CellText(*m_pGrid, nCol, nRow) + "\n" +
                                                    CellText(*m_pGrid, nCol, nRow + 1) + "\n" +
                                                    CellText(*m_pGrid, nCol, nRow + 2));
    ASSERT_TRUE(WaitForCopyEnabled());
    ASSERT_TRUE(Key(Qt::Key_C, Qt::ControlModifier));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), strBlock);
    EXPECT_EQ(ClipboardOfAnotherClient(), strBlock);
    EXPECT_FALSE(m_pGrid->IsSelected(nCol, nRow)) << "copy clears the selection";

    // The block again; Control+click on its middle cell takes out just that
    // one, and a copy then has the two cells left.
    ClickCell(nCol, nRow);
    ASSERT_TRUE(Key(Qt::Key_Down, Qt::ShiftModifier));
    ASSERT_TRUE(Key(Qt::Key_Down, Qt::ShiftModifier));
    ClickCell(nCol, nRow + 1, Qt::ControlModifier);
    EXPECT_TRUE(m_pGrid->IsSelected(nCol, nRow));
    EXPECT_FALSE(m_pGrid->IsSelected(nCol, nRow + 1));
    EXPECT_TRUE(m_pGrid->IsSelected(nCol, nRow + 2));
    Keep(ScreenShot(), "grid-2-middle-cell-taken-out");
    ASSERT_TRUE(WaitForCopyEnabled());
    ASSERT_TRUE(Key(Qt::Key_C, Qt::ControlModifier));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromStdString(CellText(*m_pGrid, nCol, nRow) + "\n" +
                                     CellText(*m_pGrid, nCol, nRow + 2)));
    EXPECT_TRUE(m_program.messages.m_messages.empty());
}

TEST_F(X11GridInput, HomeEndAndDraggingBelowTheCellsScroll)
{
    const int nLastRow = m_pGrid->RowCount() - 1;
    ClickCell(2, 5);
    ASSERT_TRUE(Key(Qt::Key_Home));
    EXPECT_TRUE(CurrentIs(0, 5));
    ASSERT_TRUE(Key(Qt::Key_End, Qt::ControlModifier));
    EXPECT_TRUE(CurrentIs(0, nLastRow));
    EXPECT_GT(m_pGrid->GetTopRow(), nLastRow - VisibleRows());
    Keep(ScreenShot(), "grid-3-control-end");
    ASSERT_TRUE(Key(Qt::Key_Home, Qt::ControlModifier));
    EXPECT_TRUE(CurrentIs(0, 0));
    EXPECT_EQ(m_pGrid->GetTopRow(), 0);

    // Press on a cell and hold the button below the cells: the grid keeps
    // moving down a row at a time until the button comes up.
    QWindow* pWindow = WindowOf(m_pArea);
    QTest::mousePress(pWindow, Qt::LeftButton, Qt::NoModifier, InWindow(m_pArea, CellPoint(1, 3)));
    const QPoint below = InWindow(m_pArea, QPoint(CellPoint(1, 3).x(), m_pArea->height() + 8));
    QTest::mouseMove(pWindow, below);
    const int nTarget = VisibleRows() + 10;
    const bool bScrolled =
        QTest::qWaitFor([&] { return m_pGrid->GetCurrentRow() >= nTarget; }, 15000);
    Keep(ScreenShot(), "grid-4-dragged-below");
    QTest::mouseRelease(pWindow, Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_TRUE(bScrolled) << "current row " << m_pGrid->GetCurrentRow();
    EXPECT_GT(m_pGrid->GetTopRow(), 0);
    EXPECT_EQ(m_pGrid->GetCurrentColumn(), 1);
    EXPECT_TRUE(m_pGrid->IsSelected(1, 3)) << "the drag extends the selection from the press";
    EXPECT_TRUE(m_pGrid->IsSelected(1, m_pGrid->GetCurrentRow()));
    const int nAfterRelease = m_pGrid->GetCurrentRow();
    QTest::qWait(300);
    EXPECT_EQ(m_pGrid->GetCurrentRow(), nAfterRelease) << "scrolling went on after the release";
    // The rows scrolled into view are painted: text on the screen.
    EXPECT_GT(DarkPixels(ScreenShotOf(m_pArea)), 500);
    EXPECT_TRUE(m_program.messages.m_messages.empty());
}

TEST_F(X11GridInput, FindFromTheToolbarMovesToTheTypedText)
{
    // A text from far down the first column; the search starts below row 0.
    ClickCell(0, 0);
    int nTarget = m_pGrid->RowCount() - 20;
    while (nTarget > 0 && CellText(*m_pGrid, 0, nTarget).empty())
        --nTarget; // a job's sub-rows leave the column empty
    const std::string strFind = CellText(*m_pGrid, 0, nTarget);
    ASSERT_FALSE(strFind.empty());
    int nExpected = -1;
    for (int nRow = 1; nRow < m_pGrid->RowCount() && nExpected < 0; ++nRow)
        if (Upper(CellText(*m_pGrid, 0, nRow)).find(Upper(strFind)) != std::string::npos)
            nExpected = nRow;
    ASSERT_GT(nExpected, VisibleRows()) << "the text should be out of view";

    QWidget* pFind = m_program.ToolButton(ID_EDIT_FIND);
    ASSERT_TRUE(WaitIdle([&] { return pFind->isEnabled(); }, 3000));
    Click(pFind);
    auto* pDlg = m_pView->GridWnd(0)->findChild<CGridFindDialogWnd*>();
    ASSERT_NE(pDlg, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pDlg));
    // The dialog takes the keyboard as it opens: what is typed next is the
    // text to find.
    ASSERT_TRUE(WaitIdle([&] { return HasKeyboard(pDlg); }, 3000))
        << "the Find dialog did not get the keyboard";
    ASSERT_TRUE(Type(strFind));
    EXPECT_EQ(pDlg->FindEdit()->text(), QString::fromStdString(strFind));
    ASSERT_TRUE(Key(Qt::Key_Return)); // Find Next is the default button
    EXPECT_TRUE(CurrentIs(0, nExpected));
    EXPECT_GT(m_pGrid->GetTopRow(), 0) << "the found row was scrolled into view";
    Keep(ScreenShot(), "grid-5-found");

    // Escape closes the dialog and the cells have the keyboard again.
    ASSERT_TRUE(Key(Qt::Key_Escape));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_pGrid->IsFindDialogOpen() == 0; }, 3000));
    EXPECT_TRUE(WaitIdle(
        [&] { return HasKeyboard(m_pArea) && QApplication::focusWidget() == m_pArea; }, 3000))
        << "the keyboard did not come back to the cells";
    EXPECT_TRUE(m_program.messages.m_messages.empty());
}

// Run only as the other X client of the copy test above.
TEST(X11ClipboardPeer, PrintsTheClipboard)
{
    if (!std::getenv(kPeerVariable) || !OnX11())
        GTEST_SKIP() << "run by X11GridInput as a second X client";
    std::cout << "<<clipboard>>" << QGuiApplication::clipboard()->text().toStdString()
              << "<</clipboard>>" << std::endl;
}

} // namespace hpa
