// File > Export...: the save dialog's set-up, the separator chosen by the
// name's extension only, the failures the user sees, and that a failed
// export leaves an older file of the same name untouched.
#include "accounting/Acc.h"
#include "grid/UGCtrl.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "view/qt/ExportCommand.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace hpa {
namespace {

using test::CRecordingMessages;
using test::CTempDir;

// A Status grid of three name/value rows.
void FillStatus(CUGCtrl& grid, int nRows = 3)
{
    grid.SetColumnCount(2);
    grid.SetRowCount(nRows);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        grid.SetCellText(0, nRow, "Name " + std::to_string(nRow));
        grid.SetCellText(1, nRow, std::to_string(nRow * 10));
    }
}

QString PathIn(const CTempDir& dir, const char* pszName)
{
    return QString::fromStdString((dir.Path() / pszName).string());
}

} // namespace

TEST(ExportDialog, TitleFiltersDefaultExtensionAndOverwritePrompt)
{
    QFileDialog dialog;
    SetupExportDialog(dialog);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Export");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(),
              QStringList({"Comma separated (*.csv)", "Tab separated (*.txt)"}));
    EXPECT_EQ(dialog.defaultSuffix().toStdString(), "csv");
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(ExportCommand, SeparatorFollowsTheExtensionOfTheChosenName)
{
    CTempDir dir;
    CUGCtrl grid;
    FillStatus(grid, 2);
    CRecordingMessages messages;
    const CAcc acc;
    // The name decides, whichever filter the dialog showed.
    EXPECT_EQ(OnExport(nullptr, grid, kKindStatus, acc, messages,
                       [&] { return PathIn(dir, "status.TXT"); }),
              ExportCommandResult::Written);
    EXPECT_EQ(CTempDir::Read(dir.Path() / "status.TXT"), "Name 0\t0\r\nName 1\t10\r\n");
    EXPECT_EQ(OnExport(nullptr, grid, kKindStatus, acc, messages,
                       [&] { return PathIn(dir, "status.csv"); }),
              ExportCommandResult::Written);
    EXPECT_EQ(CTempDir::Read(dir.Path() / "status.csv"), "Name 0,0\r\nName 1,10\r\n");
    EXPECT_TRUE(messages.m_messages.empty());
}

// In the real dialog: "Tab separated" picked, "report" typed.
TEST(ExportCommand, ChosenTypeGivesAnUntypedExtension)
{
    CTempDir dir;
    CUGCtrl grid;
    FillStatus(grid, 2);
    CRecordingMessages messages;
    const CAcc acc;
    bool bSeen = false;
    QTimer::singleShot(0, [&] {
        auto* pDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!pDialog)
            return;
        bSeen = true;
        pDialog->setDirectory(QString::fromStdString(dir.Path().string()));
        auto* pTypes = pDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* pName = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!pTypes || !pName) {
            pDialog->reject();
            return;
        }
        pTypes->setFocus();
        QTest::keyClick(pTypes, Qt::Key_Down); // as the user picks it
        pName->setText(QStringLiteral("report"));
        static_cast<QDialog*>(pDialog)->accept(); // as OK does
    });
    EXPECT_EQ(OnExport(nullptr, grid, kKindStatus, acc, messages), ExportCommandResult::Written);
    ASSERT_TRUE(bSeen);
    EXPECT_EQ(CTempDir::Read(dir.Path() / "report.txt"), "Name 0\t0\r\nName 1\t10\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "report.csv"));
}

TEST(ExportCommand, CancelWritesNothing)
{
    CTempDir dir;
    CUGCtrl grid;
    FillStatus(grid);
    CRecordingMessages messages;
    const CAcc acc;
    EXPECT_EQ(OnExport(nullptr, grid, kKindStatus, acc, messages, [] { return QString(); }),
              ExportCommandResult::Cancelled);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_TRUE(messages.m_messages.empty());
}

TEST(ExportCommand, FileThatCannotBeCreatedIsReportedWithTheBeep)
{
    CTempDir dir;
    CUGCtrl grid;
    FillStatus(grid);
    CRecordingMessages messages;
    EXPECT_EQ(ExportGridToFile(grid, kKindStatus, "", PathIn(dir, "missing/out.csv"), messages),
              ExportCommandResult::CannotCreate);
    EXPECT_EQ(messages.Exclamations(), std::vector<std::string>{"Error creating export file."});
}

TEST(ExportCommand, ExistingFileIsReplacedWhole)
{
    CTempDir dir;
    dir.Write("out.csv", std::string(5000, 'x'));
    CUGCtrl grid;
    FillStatus(grid, 1);
    CRecordingMessages messages;
    EXPECT_EQ(ExportGridToFile(grid, kKindStatus, "", PathIn(dir, "out.csv"), messages),
              ExportCommandResult::Written);
    EXPECT_EQ(CTempDir::Read(dir.Path() / "out.csv"), "Name 0,0\r\n");
}

TEST(ExportCommand, FailedWriteLeavesTheOldFileInPlace)
{
    CTempDir dir;
    dir.Write("out.csv", "old export\r\n");
    CUGCtrl grid;
    FillStatus(grid, 20000); // far more than the file size limit below
    CRecordingMessages messages;

    // Files may not grow past 4 KiB while the export runs.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ExportCommandResult result =
        ExportGridToFile(grid, kKindStatus, "", PathIn(dir, "out.csv"), messages);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, ExportCommandResult::WriteFailed);
    EXPECT_EQ(messages.Exclamations(), std::vector<std::string>{"Error writing export file."});
    EXPECT_EQ(CTempDir::Read(dir.Path() / "out.csv"), "old export\r\n");
    // No temporary file is left behind either.
    std::size_t nFiles = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++nFiles;
    EXPECT_EQ(nFiles, 1u);
}

} // namespace hpa
