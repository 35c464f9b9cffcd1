// The program with its grid view: the accounting set bound to the view's
// grids at start-up, File > Open of an .hpa showing the Status grid with
// "STATUS", File > New emptying it and enabling Connect again, and the
// enabling of every view command in both states as the menus show them.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/VexAccApp.h"
#include "document/AccDocumentFile.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/qt/GridWnd.h"
#include "platform/Profile.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "transfer/qt/ConnectCommand.h"
#include "ui/CommandIds.h"
#include "view/qt/AccView.h"
#include "view/qt/FilterDlg.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace hpa {

namespace {

class CFileUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override
    {
        if (m_files.empty())
            return {};
        QString s = m_files.front();
        m_files.pop_front();
        return s;
    }
    QString GetSaveFileName(const QString&) override { return {}; }
    std::deque<QString> m_files;
};

struct ProgramFixture : ::testing::Test {
    test::CTempDir dir;
    CMemoryProfile profile;
    test::CRecordingMessages messages;
    CFileUi ui;
    std::unique_ptr<CVexAccApp> app;
    CVexAccView* view = nullptr;

    void SetUp() override
    {
        CVexAccApp::Options options;
        options.pProfile = &profile;
        options.pMessages = &messages;
        options.pDocumentUi = &ui;
        options.bSingleInstance = false;
        app = std::make_unique<CVexAccApp>(options);
        CCommandLineInfo info;
        info.Parse({"--nosplash"});
        ASSERT_TRUE(app->InitInstance(info));
        view = dynamic_cast<CVexAccView*>(app->View());
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { app.reset(); }

    // A document whose status grid holds two named rows and whose job grid
    // has 2 columns and 3 rows.
    QString WriteDocument(const char* pszName)
    {
        CUGCtrl job, paper, status;
        job.SetColumnCount(2);
        job.SetRowCount(3);
        job.SetCellText(0, 0, "job-0-0");
        status.SetColumnCount(2);
        status.SetRowCount(2);
        status.SetCellText(-1, -1, "");
        status.SetCellText(0, 0, "Version");
        status.SetCellText(1, 0, "2");
        status.SetCellText(0, 1, "Multifile");
        status.SetCellText(1, 1, "1");
        CAcc acc;
        acc.m_strHost = "printer-1";
        dir.Write(pszName, StoreAccDocument({{&job, &paper, &status}, &acc}));
        return QString::fromStdString((dir.Path() / pszName).string());
    }
    bool MenuEnabled(int nID)
    {
        for (int n = 0; n < 5; ++n) {
            QMenu* pMenu = app->MainFrame()->TopMenu(n);
            if (!pMenu)
                continue;
            emit pMenu->aboutToShow();
            for (QAction* pAction : pMenu->actions())
                if (pAction->menu())
                    emit pAction->menu()->aboutToShow();
        }
        return app->MainFrame()->CommandAction(nID)->isEnabled();
    }
    std::string Cell(int g, int c, int r)
    {
        CUGCell cell;
        g_grids[g].ReadCell(c, r, &cell);
        return cell.GetText();
    }
};

// Everything the view enables only while data is shown.
const int kNeedsData[] = {ID_EDIT_FIND,          ID_FILE_PRINT,   ID_FILE_PRINT_DIRECT,
                          ID_FILE_PRINT_PREVIEW, ID_EXPORT,       ID_VIEW_SUMMARY,
                          ID_FILE_NEW,           ID_FILE_SAVE_AS, ID_DATA_JOB,
                          ID_DATA_PAPER,         ID_DATA_STATUS,  ID_FILE_ADD_TO_HISTORY};

} // namespace

TEST_F(ProgramFixture, StartUpBindsTheAccountingSetToTheViewsGrids)
{
    EXPECT_EQ(view->CurrentKind(), 0);
    EXPECT_EQ(view->CurrentGrid(), -1);
    EXPECT_EQ(g_nCurrentKind, 0);
    EXPECT_EQ(g_nCurrentGrid, -1);
    const CAccBinding& binding = g_acc.Binding();
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(binding.m_pGrids[g], &g_grids[g]);
        EXPECT_EQ(&view->Grid(g), &g_grids[g]);
        EXPECT_EQ(g_grids[g].GetGridWnd(), view->GridWnd(g));
        EXPECT_TRUE(view->GridWnd(g)->isHidden());
    }
    EXPECT_EQ(binding.m_pMasks, &g_masks);
    EXPECT_EQ(binding.m_pMessages, &messages);
    EXPECT_FALSE(binding.m_pathWorkDir.empty());
}

TEST_F(ProgramFixture, EnablingRulesInBothStates)
{
    for (int nID : kNeedsData)
        EXPECT_FALSE(MenuEnabled(nID)) << nID;
    EXPECT_FALSE(MenuEnabled(ID_EDIT_COPY));
    EXPECT_TRUE(MenuEnabled(ID_CONNECT));
    EXPECT_TRUE(MenuEnabled(ID_FILTERS));

    ui.m_files.push_back(WriteDocument("rules.hpa"));
    app->MainFrame()->ExecuteCommand(ID_FILE_OPEN);
    ASSERT_EQ(view->CurrentKind(), ID_DATA_STATUS);
    for (int nID : kNeedsData)
        EXPECT_TRUE(MenuEnabled(nID)) << nID;
    EXPECT_FALSE(MenuEnabled(ID_EDIT_COPY)); // nothing clicked yet
    EXPECT_FALSE(MenuEnabled(ID_CONNECT));
    EXPECT_TRUE(MenuEnabled(ID_FILTERS));
    EXPECT_TRUE(app->MainFrame()->CommandAction(ID_DATA_STATUS)->isChecked());
    // Every data command reaches a handler of the view.
    for (int nID : kNeedsData)
        EXPECT_EQ(app->Router().HasHandler(nID), true) << nID;
}

TEST_F(ProgramFixture, OpenShowsTheStatusGridAndNewEmptiesIt)
{
    // Open while the Paper grid is shown: it is hidden, and the file's
    // Status grid comes up.
    app->Document()->OpenDocumentFile(WriteDocument("first.hpa"));
    app->MainFrame()->ExecuteCommand(ID_DATA_PAPER);
    ASSERT_TRUE(view->IsGridShown(1));
    ui.m_files.push_back(WriteDocument("second.hpa"));
    app->MainFrame()->ExecuteCommand(ID_FILE_OPEN);

    EXPECT_EQ(app->Document()->GetTitle(), "second.hpa");
    EXPECT_EQ(g_nCurrentKind, ID_DATA_STATUS);
    EXPECT_EQ(g_nCurrentGrid, 2);
    EXPECT_EQ(app->MainFrame()->DataKindPaneText(), "STATUS");
    EXPECT_TRUE(view->GridWnd(2)->isVisible());
    EXPECT_EQ(view->GridWnd(2)->geometry(), view->rect());
    EXPECT_FALSE(view->IsGridShown(1));
    EXPECT_FALSE(view->IsGridShown(0));
    EXPECT_EQ(Cell(2, 0, 1), "Multifile");
    EXPECT_EQ(g_acc.m_strHost, "printer-1");
    EXPECT_EQ(g_grids[0].GetGridLayout().m_bOffscreenPaint, 1);
    EXPECT_EQ(g_grids[0].GetGridLayout().m_nDragMode, 1);
    EXPECT_EQ(messages.m_messages.size(), 0u);

    app->MainFrame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(g_nCurrentKind, 0);
    EXPECT_EQ(g_nCurrentGrid, -1);
    EXPECT_EQ(app->MainFrame()->DataKindPaneText(), "");
    for (int g = 0; g < 3; ++g)
        EXPECT_FALSE(view->IsGridShown(g)) << g;
    EXPECT_EQ(Cell(2, 0, 1), "");
    EXPECT_EQ(g_grids[2].RowCount(), 2); // counts stay
    EXPECT_TRUE(MenuEnabled(ID_CONNECT));
    EXPECT_FALSE(MenuEnabled(ID_FILE_NEW));
}

// File > Add to history reaches the open document: this one's two job
// columns do not fit the selected job fields, which it says before asking
// anything.
TEST_F(ProgramFixture, AddToHistoryChecksTheOpenDocumentFirst)
{
    app->Document()->OpenDocumentFile(WriteDocument("few.hpa"));
    app->MainFrame()->ExecuteCommand(ID_FILE_ADD_TO_HISTORY);
    ASSERT_EQ(messages.Exclamations().size(), 1u);
    EXPECT_NE(messages.Exclamations()[0].find("job grid has 2 columns"), std::string::npos)
        << messages.Exclamations()[0];
}

TEST_F(ProgramFixture, FilterChangeRereadsTheJobFileWithoutAddingToTheSummary)
{
    // What a download leaves: the working files decoded into the grids, the
    // document modified and the Status grid shown.
    const std::filesystem::path data =
        std::filesystem::path(HPA_SOURCE_DIR) / "testdata" / "decode" / "office";
    for (const char* pszName : {"STA.tmp", "DIC.tmp", "PAP.tmp", "JOB.tmp"})
        std::filesystem::copy_file(data / pszName, g_acc.Binding().m_pathWorkDir / pszName,
                                   std::filesystem::copy_options::overwrite_existing);
    ASSERT_NE(g_acc.ReadStatusFile(), 0);
    ASSERT_NE(g_acc.ReadDictionaryFile(), 0);
    g_acc.FillStatusGrid();
    g_acc.ReadPaperFile();
    ASSERT_NE(g_acc.ReadJobFile(), 0);
    ShowDownloadedData(*view, app->Document());
    const CAcc before = g_acc;
    ASSERT_GT(before.m_nUsers, 0);
    ASSERT_GT(before.m_nPrintingTime, 0);
    ASSERT_GT(before.m_nSimplexSheets + before.m_nDuplexSheets, 0);

    // The user ticks one more job field, presses OK and answers Yes.
    messages.m_answer = MessageAnswer::Yes;
    QTimer::singleShot(0, [] {
        for (QWidget* pWidget : QApplication::topLevelWidgets()) {
            if (auto* pDlg = qobject_cast<CFilterDlg*>(pWidget); pDlg && pDlg->isVisible()) {
                pDlg->JobList()->item(22)->setCheckState(Qt::Checked);
                pDlg->accept();
            }
        }
    });
    app->MainFrame()->ExecuteCommand(ID_FILTERS);

    ASSERT_EQ(g_grids[kKindJob].ColumnCount(), 10); // the job file was read again
    EXPECT_EQ(g_acc.m_nJams, before.m_nJams);
    EXPECT_EQ(g_acc.m_nSimplexSheets, before.m_nSimplexSheets);
    EXPECT_EQ(g_acc.m_nDuplexSheets, before.m_nDuplexSheets);
    EXPECT_EQ(g_acc.m_nPrintingTime, before.m_nPrintingTime);
    EXPECT_EQ(g_acc.m_nUsers, before.m_nUsers);
}

} // namespace hpa
