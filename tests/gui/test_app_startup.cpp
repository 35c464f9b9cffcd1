// The application's start-up: command line, order of the steps, settings
// loaded once the frame exists, the command line's document, the recent-file
// commands, and a second start handing over to the first.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "app/ActivationWatcher.h"
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
#include "ui/AccViewBase.h"
#include "ui/CommandIds.h"

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

// Answers No to "Save changes?", cancels the save dialog, and gives the
// scripted files to the open and print-to-file questions.
class CNoQuestionsUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return m_strOpen; }
    QString GetSaveFileName(const QString&) override { return {}; }
    QString GetPrintFileName(const QString& strSuggested) override
    {
        m_printSuggestions.append(strSuggested);
        return m_printAnswers.isEmpty() ? QString() : m_printAnswers.takeFirst();
    }
    QString m_strOpen;
    QStringList m_printAnswers;
    QStringList m_printSuggestions;
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
    // No print queue: the job asks for its PDF file, proposing one named
    // after the document and the data kind.
    app.Printer().setOutputFormat(QPrinter::PdfFormat);
    const std::filesystem::path pdf = dir.Path() / "print.pdf";
    ui.m_printAnswers = {QString::fromStdString(pdf.string())};
    EXPECT_FALSE(app.InitInstance(Args({"--print", strPath.toStdString()})));
    EXPECT_FALSE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.ExitCode(), 0);
    EXPECT_EQ(ui.m_printSuggestions,
              QStringList{QString::fromStdString((dir.Path() / "print-STATUS.pdf").string())});
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
    // Ctrl+S with nothing shown does not save an empty document.
    EXPECT_FALSE(app.Router().QueryState(ID_FILE_SAVE).m_bEnabled);
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

// ---- the document and print commands -------------------------------------------------

namespace {

// A document whose three grids all hold data, tagged so two documents differ.
std::string FilledDocument(const std::string& strTag, int nRows)
{
    CUGCtrl grids[3];
    const int nColumns[3] = {5, 2, 2};
    for (int g = 0; g < 3; ++g) {
        grids[g].SetColumnCount(nColumns[g]);
        grids[g].SetRowCount(nRows);
        for (int c = 0; c < nColumns[g]; ++c)
            grids[g].SetColumnWidth(c, 80);
        for (int r = -1; r < nRows; ++r)
            for (int c = -1; c < nColumns[g]; ++c)
                grids[g].SetCellText(c, r, strTag + std::to_string(g * 1000 + r * 10 + c));
    }
    CAcc acc;
    acc.m_strHost = strTag + "-host";
    return StoreAccDocument({{&grids[0], &grids[1], &grids[2]}, &acc});
}

} // namespace

TEST_F(AppFixture, FailedOpenKeepsTheDocumentSoSaveRewritesTheGoodFileUnchanged)
{
    const std::string strGood = FilledDocument("good", 4);
    dir.Write("good.hpa", strGood);
    // All three grid blocks load before the accounting block ends early.
    const std::string strBad = FilledDocument("bad", 9);
    dir.Write("damaged.hpa", strBad.substr(0, strBad.size() - 3));
    CVexAccApp app(Options());
    ASSERT_TRUE(app.InitInstance(Args({(dir.Path() / "good.hpa").string()})));
    CUGCtrl& status = app.View()->Grid(2);

    for (const char* pszName : {"damaged.hpa", "missing.hpa"}) {
        SCOPED_TRACE(pszName);
        messages.m_messages.clear();
        ui.m_strOpen = QString::fromStdString((dir.Path() / pszName).string());
        app.MainFrame()->ExecuteCommand(ID_FILE_OPEN);
        EXPECT_EQ(messages.Exclamations().size(), 1u);
        // The previous document exactly as it was.
        EXPECT_EQ(app.Document()->GetTitle(), "good.hpa");
        EXPECT_FALSE(app.Document()->IsModified());
        EXPECT_EQ(app.MainFrame()->DataKindPaneText(), "STATUS");
        EXPECT_EQ(app.View()->CurrentGrid(), 2);
        EXPECT_EQ(status.RowCount(), 4);
        CUGCell cell;
        status.ReadCell(1, 3, &cell);
        EXPECT_EQ(cell.GetText(), "good2031");
    }

    // Ctrl+S writes what is shown over the good file: the same bytes.
    EXPECT_TRUE(app.Router().Execute(ID_FILE_SAVE));
    EXPECT_EQ(test::CTempDir::Read(dir.Path() / "good.hpa"), strGood);
}

TEST_F(AppFixture, EveryPrintToPdfAsksForItsOwnFile)
{
    dir.Write("sample.hpa", FilledDocument("s", 3));
    CVexAccApp app(Options());
    ASSERT_TRUE(app.InitInstance(Args({(dir.Path() / "sample.hpa").string()})));
    app.Printer().setOutputFormat(QPrinter::PdfFormat); // as with no print queue
    const auto pdf = [&](const char* pszName) {
        return QString::fromStdString((dir.Path() / pszName).string());
    };
    ui.m_printAnswers = {pdf("first.pdf"), pdf("second.pdf")};

    app.MainFrame()->ExecuteCommand(ID_FILE_PRINT_DIRECT);
    ASSERT_TRUE(std::filesystem::exists(dir.Path() / "first.pdf"));
    const std::string strFirst = test::CTempDir::Read(dir.Path() / "first.pdf");
    // The job carries the document's name.
    EXPECT_EQ(app.Printer().docName(), "sample.hpa");

    // The next print, of another kind, asks again: the first file stays.
    app.MainFrame()->ExecuteCommand(ID_DATA_JOB);
    app.MainFrame()->ExecuteCommand(ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(ui.m_printSuggestions,
              (QStringList{pdf("sample-STATUS.pdf"), pdf("sample-JOB.pdf")}));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "second.pdf"));
    EXPECT_EQ(test::CTempDir::Read(dir.Path() / "first.pdf"), strFirst);

    // Cancelled at the question: nothing is written anywhere.
    app.MainFrame()->ExecuteCommand(ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(ui.m_printSuggestions.size(), 3);
    EXPECT_EQ(test::CTempDir::Read(dir.Path() / "first.pdf"), strFirst);
    EXPECT_TRUE(messages.m_messages.empty());
}

} // namespace hpa
