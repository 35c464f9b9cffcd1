// The application's start-up: command line, order of the steps, settings
// loaded once the frame exists, the command line's document, the recent-file
// commands, and a second start handing over to the first.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "ui/AccViewBase.h"
#include "app/ActivationWatcher.h"
#include "ui/CommandIds.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/SplashWindow.h"
#include "app/VexAccApp.h"
#include "document/AccDocumentFile.h"
#include "document/RecentFileList.h"
#include "document/WorkingDir.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "platform/Profile.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

#include <QAction>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace hpa {

TEST(CommandLine, FileOptionsAndWarnings)
{
    struct Case {
        std::vector<std::string> args;
        CCommandLineInfo::ShellCommand nCommand;
        std::string strFile;
        bool bSplash;
        std::size_t nWarnings;
    };
    const Case cases[] = {
        {{}, CCommandLineInfo::FileNew, "", true, 0},
        {{"a.hpa"}, CCommandLineInfo::FileOpen, "a.hpa", true, 0},
        {{"--nosplash"}, CCommandLineInfo::FileNew, "", false, 0},
        {{"--print", "b.hpa"}, CCommandLineInfo::FilePrint, "b.hpa", false, 0},
        {{"--print=c.hpa"}, CCommandLineInfo::FilePrint, "c.hpa", false, 0},
        {{"--frobnicate", "d.hpa"}, CCommandLineInfo::FileOpen, "d.hpa", true, 1},
        {{"e.hpa", "f.hpa"}, CCommandLineInfo::FileOpen, "e.hpa", true, 1},
        {{"--", "--odd-name.hpa"}, CCommandLineInfo::FileOpen, "--odd-name.hpa", true, 0},
        {{"--print"}, CCommandLineInfo::FileNew, "", true, 1},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        info.Parse(c.args);
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
        EXPECT_EQ(info.m_nShellCommand, c.nCommand);
        EXPECT_EQ(info.m_strFileName, c.strFile);
        EXPECT_EQ(info.m_bShowSplash, c.bSplash);
        EXPECT_EQ(info.Warnings().size(), c.nWarnings);
    }
    CCommandLineInfo info;
    info.Parse({"-x"});
    EXPECT_EQ(info.Warnings(), std::vector<std::string>{"hpa: unknown option '-x' ignored"});
}

namespace {

// Records whether the main frame existed when the masks were read.
class CWatchingProfile : public CMemoryProfile {
public:
    std::string GetString(const std::string& strSection, const std::string& strEntry,
                          const std::string& strDefault) const override
    {
        if (strEntry == kProfileJobMask)
            m_bFrameAtMaskLoad = CMainFrame::Instance() && CMainFrame::Instance()->isVisible();
        return CMemoryProfile::GetString(strSection, strEntry, strDefault);
    }
    mutable bool m_bFrameAtMaskLoad = false;
};

class CNoQuestionsUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return {}; }
    QString GetSaveFileName(const QString&) override { return {}; }
};

struct AppFixture : ::testing::Test {
    test::CTempDir dir;
    CWatchingProfile profile;
    test::CRecordingMessages messages;
    CNoQuestionsUi ui;

    CVexAccApp::Options Options(bool bSingle = false)
    {
        CVexAccApp::Options options;
        options.pProfile = &profile;
        options.pMessages = &messages;
        options.pDocumentUi = &ui;
        options.bSingleInstance = bSingle;
        const QString strDir = QString::fromStdString(dir.Path().string());
        options.instanceNames = {strDir + "/i.lock", strDir + "/i.socket"};
        options.nInstanceWaitMs = 500;
        return options;
    }
    CCommandLineInfo Args(std::vector<std::string> args)
    {
        args.insert(args.begin(), "--nosplash");
        CCommandLineInfo info;
        info.Parse(args);
        return info;
    }
    QString WriteDocument(const char* pszName)
    {
        CUGCtrl job, paper, status;
        status.SetColumnCount(2);
        status.SetRowCount(1);
        status.SetCellText(0, 0, "Version");
        CAcc acc;
        dir.Write(pszName, StoreAccDocument({{&job, &paper, &status}, &acc}));
        return QString::fromStdString((dir.Path() / pszName).string());
    }
};

} // namespace

TEST_F(AppFixture, PlainStartShowsAnEmptyUntitledFrameThenLoadsTheMasks)
{
    profile.WriteString(kProfileSection, kProfileJobMask, "111000000000000000000000000");
    profile.WriteString(kProfileSection, kProfilePaperMask, "101010");
    profile.WriteString(kProfileSection, kProfileStatusMask, "10000000000000000");
    std::filesystem::path workDir;
    {
        CVexAccApp app(Options());
        ASSERT_TRUE(app.InitInstance(Args({})));
        EXPECT_TRUE(profile.m_bFrameAtMaskLoad);
        EXPECT_EQ(g_masks.m_nJobColumns, 3);
        EXPECT_EQ(g_masks.m_strPaperMask, "101010");
        EXPECT_EQ(g_masks.m_nStatusRows, 1);
        ASSERT_NE(app.MainFrame(), nullptr);
        EXPECT_TRUE(app.MainFrame()->isVisible());
        EXPECT_EQ(app.MainFrame()->windowTitle(), "Untitled - HPA");
        EXPECT_EQ(app.View()->CurrentKind(), 0);
        EXPECT_EQ(app.Document()->State(), DocumentState::Empty);
        EXPECT_EQ(CSplashWindow::Current(), nullptr); // --nosplash
        // The download's working files have a private home...
        ASSERT_TRUE(g_workDir.IsCreated());
        workDir = g_workDir.Path();
        EXPECT_EQ(g_acc.Binding().m_pathWorkDir, workDir);
        EXPECT_EQ(g_acc.Binding().m_pGrids[2], &app.View()->Grid(2));
        std::ofstream(workDir / kJobFileName) << "job";
    }
    // ... that goes with the view.
    EXPECT_FALSE(std::filesystem::exists(workDir));
    EXPECT_EQ(g_acc.Binding().m_pGrids[2], nullptr);
}

TEST_F(AppFixture, FirstStartTakesTheDefaultMasks)
{
    CVexAccApp app(Options());
    ASSERT_TRUE(app.InitInstance(Args({})));
    EXPECT_EQ(g_masks.m_strJobMask, kDefaultJobMask);
    EXPECT_EQ(g_masks.m_nJobColumns, 7);
    EXPECT_EQ(g_masks.m_nPaperColumns, 2);
    EXPECT_EQ(g_masks.m_nStatusRows, 5);
}

TEST_F(AppFixture, CommandLineDocumentOpensWithItsStatusGrid)
{
    const QString strPath = WriteDocument("given.hpa");
    CVexAccApp app(Options());
    ASSERT_TRUE(app.InitInstance(Args({strPath.toStdString()})));
    EXPECT_EQ(app.MainFrame()->windowTitle(), "given.hpa - HPA");
    EXPECT_EQ(app.View()->CurrentKind(), ID_DATA_STATUS);
    EXPECT_EQ(app.MainFrame()->DataKindPaneText(), "STATUS");
    EXPECT_EQ(app.RecentFiles().Files().front(), strPath.toStdString());
    ASSERT_EQ(app.MainFrame()->RecentFileActions().size(), 1);
    EXPECT_TRUE(app.MainFrame()->RecentFileActions()[0]->text().endsWith("given.hpa"));
}

TEST_F(AppFixture, CommandLineDocumentThatDoesNotOpenEndsTheProgram)
{
    dir.Write("bad.hpa", "not a document");
    CVexAccApp app(Options());
    EXPECT_FALSE(app.InitInstance(Args({(dir.Path() / "bad.hpa").string()})));
    EXPECT_EQ(app.ExitCode(), 1);
    EXPECT_EQ(messages.Exclamations(), std::vector<std::string>{"Unexpected file format."});
    EXPECT_FALSE(app.MainFrame()->isVisible());
}

TEST_F(AppFixture, PrintFromTheCommandLinePrintsWithoutShowingTheWindow)
{
    const QString strPath = WriteDocument("print.hpa");
    CVexAccApp app(Options());
    // Without a print queue the job would ask for a PDF file; give it one.
    const std::filesystem::path pdf = dir.Path() / "print.pdf";
    app.Printer().setOutputFileName(QString::fromStdString(pdf.string()));
    EXPECT_FALSE(app.InitInstance(Args({"--print", strPath.toStdString()})));
    EXPECT_FALSE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.ExitCode(), 0);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(test::CTempDir::Read(pdf).rfind("%PDF", 0), 0u);
}

TEST_F(AppFixture, PrintFromTheCommandLineOfADocumentThatDoesNotOpenFails)
{
    dir.Write("bad.hpa", "not a document");
    CVexAccApp app(Options());
    EXPECT_FALSE(app.InitInstance(Args({"--print", (dir.Path() / "bad.hpa").string()})));
    EXPECT_EQ(app.ExitCode(), 1);
    EXPECT_EQ(messages.Exclamations(), std::vector<std::string>{"Unexpected file format."});
}

TEST_F(AppFixture, RecentFileThatNoLongerOpensLeavesTheList)
{
    const QString strGood = WriteDocument("good.hpa");
    profile.WriteString(kRecentFileSection, "File1", (dir.Path() / "gone.hpa").string());
    profile.WriteString(kRecentFileSection, "File2", strGood.toStdString());
    CVexAccApp app(Options());
    ASSERT_TRUE(app.InitInstance(Args({})));
    ASSERT_EQ(app.MainFrame()->RecentFileActions().size(), 2);

    app.MainFrame()->ExecuteCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(app.Document()->GetTitle(), "good.hpa");
    EXPECT_EQ(app.RecentFiles().Files().front(), strGood.toStdString());

    app.MainFrame()->ExecuteCommand(ID_FILE_MRU_FILE1 + 1); // now "gone.hpa"
    EXPECT_EQ(app.RecentFiles().Files(), std::vector<std::string>{strGood.toStdString()});
    EXPECT_EQ(app.MainFrame()->RecentFileActions().size(), 1);
    EXPECT_EQ(profile.GetString(kRecentFileSection, "File2", "?"), "");
}

TEST_F(AppFixture, ExitAsksAboutUnsavedDataAndNewEmptiesThePane)
{
    const QString strPath = WriteDocument("shown.hpa");
    CVexAccApp app(Options());
    ASSERT_TRUE(app.InitInstance(Args({strPath.toStdString()})));
    EXPECT_EQ(app.MainFrame()->DataKindPaneText(), "STATUS");
    app.MainFrame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(app.MainFrame()->DataKindPaneText(), "");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "Untitled - HPA");
    EXPECT_FALSE(app.MainFrame()->CommandAction(ID_FILE_NEW)->isEnabled());
    EXPECT_TRUE(app.MainFrame()->CommandAction(ID_CONNECT)->isEnabled());
    app.Document()->SetModifiedFlag(true);
    app.MainFrame()->ExecuteCommand(ID_APP_EXIT); // the scripted answer is No
    EXPECT_FALSE(app.MainFrame()->isVisible());
}

TEST_F(AppFixture, SecondStartHandsOverToTheFirstAndEnds)
{
    CVexAccApp first(Options(true));
    ASSERT_TRUE(first.InitInstance(Args({})));
    ASSERT_NE(first.InstanceClaim(), nullptr);
    QSignalSpy spy(first.InstanceClaim()->Watcher(), &CActivationWatcher::activated);

    const QString strPath = WriteDocument("ignored.hpa");
    CVexAccApp second(Options(true));
    EXPECT_FALSE(second.InitInstance(Args({strPath.toStdString()})));
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_EQ(second.MainFrame(), nullptr); // opened nothing
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.at(0).at(0).value<QWidget*>(), first.MainFrame());
    EXPECT_EQ(first.Document()->GetTitle(), "Untitled");
}

} // namespace hpa
