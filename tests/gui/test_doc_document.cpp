// The accounting document: New, Open, Save As, Save, the save prompt, the
// recent-file list, the states Empty / Downloaded / Loaded / Saved, and what
// failed saves and opens leave behind.
#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "document/RecentFileList.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "platform/Profile.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "ui/CommandIds.h"
#include "view/qt/AccView.h"

#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <sys/resource.h>

namespace hpa {

namespace {

// Answers the document's questions from a script and remembers them.
class CScriptedUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString& strName) override
    {
        m_asked.push_back(strName);
        return m_answer;
    }
    QString GetOpenFileName() override { return Next(); }
    QString GetSaveFileName(const QString& strSuggested) override
    {
        m_suggested.push_back(strSuggested);
        return Next();
    }
    QString Next()
    {
        if (m_files.empty())
            return {};
        QString s = m_files.front();
        m_files.pop_front();
        return s;
    }

    Answer m_answer = Answer::Cancel;
    std::deque<QString> m_files;
    QStringList m_asked;
    QStringList m_suggested;
};

struct DocFixture : ::testing::Test {
    test::CTempDir dir;
    test::CRecordingMessages messages;
    CScriptedUi ui;
    CMemoryProfile profile;
    CRecentFileList recent{profile};
    CAcc acc;
    std::array<CAccGrid, 3> grids;
    int nKind = 0;
    int nGrid = -1;
    CVexAccView view{CViewGrids{&grids, &nKind, &nGrid, nullptr}};
    std::unique_ptr<CVexAccDoc> doc;

    void SetUp() override
    {
        CAccDocumentContent content{{&view.Grid(0), &view.Grid(1), &view.Grid(2)}, &acc};
        doc = std::make_unique<CVexAccDoc>(content, messages, ui);
        doc->SetViewLink(&view);
        doc->SetRecentFileList(&recent);
        doc->NewDocument();
    }

    QString PathOf(const char* pszName) const
    {
        return QString::fromStdString((dir.Path() / pszName).string());
    }

    // What a finished download leaves: filled grids, the status grid shown,
    // the document modified.
    void Download(const std::string& strTag = "d")
    {
        for (int g = 0; g < 3; ++g) {
            CUGCtrl& grid = view.Grid(g);
            grid.SetColumnCount(2);
            grid.SetRowCount(3);
            for (int r = -1; r < 3; ++r)
                for (int c = -1; c < 2; ++c)
                    grid.SetCellText(
                        c, r, strTag + std::to_string(g) + std::to_string(r) + std::to_string(c));
        }
        acc.m_strHost = strTag + "-host";
        view.SetCurrent(ID_DATA_STATUS, 2);
        view.ShowGrid(2, true);
        doc->SetModifiedFlag(true);
    }

    std::string Cell(int g, int c, int r)
    {
        CUGCell cell;
        view.Grid(g).ReadCell(c, r, &cell);
        return cell.GetText();
    }

    // A document file written from a separate set of grids.
    std::string WriteFile(const char* pszName, const std::string& strTag)
    {
        CUGCtrl job, paper, status;
        CAcc other;
        for (CUGCtrl* p : {&job, &paper, &status}) {
            p->SetColumnCount(1);
            p->SetRowCount(1);
            p->SetCellText(0, 0, strTag);
        }
        other.m_strHost = strTag;
        const std::string bytes = StoreAccDocument({{&job, &paper, &status}, &other});
        dir.Write(pszName, bytes);
        return bytes;
    }
};

} // namespace

TEST_F(DocFixture, StartsEmptyAndUntitled)
{
    EXPECT_EQ(doc->State(), DocumentState::Empty);
    EXPECT_EQ(doc->GetTitle(), "Untitled");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(view.CurrentKind(), 0);
    EXPECT_EQ(view.CurrentGrid(), -1);
}

TEST_F(DocFixture, SaveAsWritesTheLayoutAndMakesTheDocumentSaved)
{
    Download();
    EXPECT_EQ(doc->State(), DocumentState::Downloaded);
    ui.m_files = {PathOf("march.hpa")};
    EXPECT_TRUE(doc->DoSave(QString()));
    EXPECT_EQ(ui.m_suggested, QStringList{"Untitled.hpa"});
    EXPECT_EQ(test::CTempDir::Read(dir.Path() / "march.hpa"), StoreAccDocument(doc->Content()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->State(), DocumentState::Saved);
    EXPECT_EQ(doc->GetTitle(), "march.hpa");
    EXPECT_EQ(recent.Files().front(), PathOf("march.hpa").toStdString());
    // No leftovers of the temporary file beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(DocFixture, SaveGoesToThePathOrAsksWhenThereIsNone)
{
    Download();
    ui.m_files = {PathOf("a.hpa")};
    const auto& map = doc->CommandMap();
    (*map.FindHandler(ID_FILE_SAVE))(ID_FILE_SAVE); // Ctrl+S on an untitled document
    EXPECT_EQ(ui.m_suggested.size(), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "a.hpa"));

    view.Grid(1).SetCellText(0, 0, "changed");
    doc->SetModifiedFlag(true);
    (*map.FindHandler(ID_FILE_SAVE))(ID_FILE_SAVE);
    EXPECT_EQ(ui.m_suggested.size(), 1); // no dialog the second time
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(test::CTempDir::Read(dir.Path() / "a.hpa").find("changed"), std::string::npos);

    // Save As always asks; cancelling writes nothing.
    (*map.FindHandler(ID_FILE_SAVE_AS))(ID_FILE_SAVE_AS);
    EXPECT_EQ(ui.m_suggested.size(), 2);
    EXPECT_EQ(ui.m_suggested.back(), PathOf("a.hpa"));
}

TEST_F(DocFixture, OpenClearsAllGridsAndShowsTheFilesStatusGrid)
{
    Download("old");
    view.Grid(1).SetCellText(1, 2, "only-in-old");
    WriteFile("b.hpa", "fromfile");
    view.SetCurrent(ID_DATA_PAPER, 1); // the paper grid is on show
    view.ShowGrid(2, false);
    view.ShowGrid(1, true);
    ui.m_answer = CDocumentUi::Answer::No;
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("b.hpa")), OpenResult::Opened);
    EXPECT_EQ(Cell(2, 0, 0), "fromfile");
    EXPECT_EQ(Cell(1, 1, 2), ""); // cleared before loading
    EXPECT_EQ(acc.m_strHost, "fromfile");
    EXPECT_EQ(view.CurrentKind(), ID_DATA_STATUS);
    EXPECT_EQ(view.CurrentGrid(), 2);
    EXPECT_TRUE(view.IsGridShown(2));
    EXPECT_FALSE(view.IsGridShown(1));
    EXPECT_EQ(view.Grid(0).GetGridLayout().m_nDragMode, 1);
    EXPECT_EQ(view.Grid(0).GetGridLayout().m_bOffscreenPaint, 1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->State(), DocumentState::Loaded);
    EXPECT_EQ(doc->GetTitle(), "b.hpa");
    EXPECT_EQ(recent.Files().front(), PathOf("b.hpa").toStdString());
}

TEST_F(DocFixture, NewEmptiesTheGridsAndKeepsCountsAndTheAccountingSet)
{
    Download();
    ui.m_answer = CDocumentUi::Answer::No;
    EXPECT_TRUE(doc->NewDocument());
    EXPECT_EQ(view.CurrentKind(), 0);
    EXPECT_EQ(view.CurrentGrid(), -1);
    EXPECT_FALSE(view.IsGridShown(2));
    EXPECT_EQ(Cell(0, 1, 1), "");
    EXPECT_EQ(view.Grid(0).RowCount(), 3);
    EXPECT_EQ(acc.m_strHost, "d-host");
    EXPECT_EQ(doc->State(), DocumentState::Empty);
    EXPECT_EQ(doc->GetTitle(), "Untitled");
}

TEST_F(DocFixture, ModifiedDocumentAsksBeforeItIsDiscarded)
{
    Download();
    // Yes on an untitled document asks for a name; cancelling that keeps it.
    ui.m_answer = CDocumentUi::Answer::Yes;
    EXPECT_FALSE(doc->NewDocument());
    EXPECT_EQ(ui.m_suggested, QStringList{"Untitled.hpa"});
    EXPECT_TRUE(doc->IsModified());
    ui.m_asked.clear();

    // Cancel keeps everything.
    ui.m_answer = CDocumentUi::Answer::Cancel;
    EXPECT_FALSE(doc->NewDocument());
    EXPECT_EQ(ui.m_asked, QStringList{"Untitled"});
    EXPECT_EQ(view.CurrentKind(), ID_DATA_STATUS);
    EXPECT_TRUE(doc->IsModified());
    WriteFile("c.hpa", "c");
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("c.hpa")), OpenResult::Cancelled);
    EXPECT_EQ(Cell(2, 0, 0), "d200");

    // Yes saves first (asking for a name), then goes on.
    ui.m_answer = CDocumentUi::Answer::Yes;
    ui.m_files = {PathOf("kept.hpa")};
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("c.hpa")), OpenResult::Opened);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "kept.hpa"));
    EXPECT_EQ(Cell(2, 0, 0), "c");

    // A document with a name is saved under it, without a dialog.
    Download("again");
    ui.m_asked.clear();
    EXPECT_TRUE(doc->NewDocument());
    EXPECT_EQ(ui.m_asked, QStringList{"c.hpa"});
    EXPECT_EQ(ui.m_suggested.size(), 2);
    EXPECT_NE(test::CTempDir::Read(dir.Path() / "c.hpa").find("again-host"), std::string::npos);

    // An unmodified document is not asked about.
    doc->SetModifiedFlag(false);
    ui.m_asked.clear();
    EXPECT_TRUE(doc->NewDocument());
    EXPECT_TRUE(ui.m_asked.isEmpty());
}

TEST_F(DocFixture, FailedSaveKeepsThePreviousFileAndTheModifiedFlag)
{
    const std::string old = WriteFile("keep.hpa", "previous");
    Download(std::string(3000, 'x')); // a document far larger than the limit below
    // Writes past 4 KB fail (EFBIG) for this process, whatever its rights.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool bSaved = doc->DoSave(PathOf("keep.hpa"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(bSaved);
    EXPECT_EQ(test::CTempDir::Read(dir.Path() / "keep.hpa"), old);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->State(), DocumentState::Downloaded);
    EXPECT_EQ(doc->GetTitle(), "Untitled");
    ASSERT_EQ(messages.Exclamations().size(), 1u);
    EXPECT_NE(messages.Exclamations()[0].find("keep.hpa"), std::string::npos);
    // Only the old file is left: the temporary one went away.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(DocFixture, SaveIntoAMissingFolderIsReportedAndLeavesTheDocumentModified)
{
    Download();
    EXPECT_FALSE(doc->DoSave(PathOf("no/such/folder/x.hpa")));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "Untitled");
    EXPECT_EQ(messages.Exclamations().size(), 1u);
    EXPECT_TRUE(recent.Files().empty());
}

TEST_F(DocFixture, RefusedFileLeavesTheShownDocumentAsItWas)
{
    Download("shown");
    view.SetCurrent(ID_DATA_PAPER, 1);
    view.ShowGrid(2, false);
    view.ShowGrid(1, true);
    ui.m_answer = CDocumentUi::Answer::No;
    std::string bytes = WriteFile("whole.hpa", "new");
    dir.Write("cut.hpa", bytes.substr(0, bytes.size() - 3));

    EXPECT_EQ(doc->OpenDocumentFile(PathOf("cut.hpa")), OpenResult::Failed);
    EXPECT_EQ(messages.Exclamations(), std::vector<std::string>{"Unexpected file format."});
    EXPECT_EQ(view.CurrentKind(), ID_DATA_PAPER);
    EXPECT_EQ(view.CurrentGrid(), 1);
    EXPECT_TRUE(view.IsGridShown(1));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "Untitled");
    EXPECT_EQ(Cell(0, 0, 0), "shown000"); // nothing of the damaged file
    EXPECT_TRUE(recent.Files().empty());
}

TEST_F(DocFixture, JobBlockOf28ColumnsIsRefusedWith27Accepted)
{
    auto FileWithJobColumns = [&](int nCols) {
        std::string bytes;
        CArchive ar(bytes);
        ar << nCols << 0;
        for (int i = 0; i < 2 * nCols; ++i)
            ar << 0;
        for (int i = 0; i < nCols + 1; ++i)
            ar << std::string_view("h");
        for (int k = 0; k < 2; ++k)
            ar << 0 << 0 << std::string_view("");
        CAcc empty;
        empty.Serialize(ar);
        return bytes;
    };
    dir.Write("27.hpa", FileWithJobColumns(27));
    dir.Write("28.hpa", FileWithJobColumns(28));
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("28.hpa")), OpenResult::Failed);
    EXPECT_EQ(messages.Exclamations(), std::vector<std::string>{"Unexpected file format."});
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("27.hpa")), OpenResult::Opened);
    EXPECT_EQ(view.Grid(0).ColumnCount(), 27);
}

TEST_F(DocFixture, MissingFileIsReportedByName)
{
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("gone.hpa")), OpenResult::Failed);
    ASSERT_EQ(messages.Exclamations().size(), 1u);
    EXPECT_EQ(messages.Exclamations()[0], PathOf("gone.hpa").toStdString() + " was not found.");
    EXPECT_EQ(doc->State(), DocumentState::Empty);
}

TEST_F(DocFixture, OpeningTheOpenDocumentAgainDoesNothing)
{
    WriteFile("same.hpa", "first");
    ASSERT_EQ(doc->OpenDocumentFile(PathOf("same.hpa")), OpenResult::Opened);
    WriteFile("same.hpa", "second");
    view.Grid(2).SetCellText(0, 0, "edited");
    EXPECT_EQ(doc->OpenDocumentFile(PathOf("same.hpa")), OpenResult::Opened);
    EXPECT_EQ(Cell(2, 0, 0), "edited");
}

} // namespace hpa
