// The Find dialog as a real widget driven by keys and clicks, and the copy
// to the desktop clipboard.
#include "grid/UGCtrl.h"
#include "grid/qt/GridClipboard.h"
#include "grid/qt/GridFindDialog.h"
#include "grid/qt/QtGridTextMatcher.h"
#include "support/RecordingMessages.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace hpa;

namespace {

class GridFindDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pOwner = std::make_unique<QWidget>();
        m_grid.SetColumnCount(2);
        m_grid.SetRowCount(6);
        m_grid.SetClientSize(400, 300);
        m_grid.SetCellText(0, 2, "xABCx");
        m_grid.SetCellText(0, 4, "x ABC y");
        InstallFindDialog(m_grid, m_pOwner.get(), &m_messages);
    }
    CGridFindDialogWnd* Open()
    {
        EXPECT_EQ(m_grid.OpenFindDialog(), 0);
        return m_pOwner->findChild<CGridFindDialogWnd*>();
    }
    static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    CUGCtrl m_grid;
    std::unique_ptr<QWidget> m_pOwner;
    test::CRecordingMessages m_messages;
};

} // namespace

TEST_F(GridFindDialog, HasTheStandardPartsAndStartsEmptyGoingDown)
{
    CGridFindDialogWnd* pDlg = Open();
    ASSERT_NE(pDlg, nullptr);
    EXPECT_EQ(pDlg->windowTitle(), QStringLiteral("Find"));
    EXPECT_TRUE(pDlg->isVisible());
    EXPECT_FALSE(pDlg->isModal());
    EXPECT_TRUE(pDlg->FindEdit()->text().isEmpty());
    EXPECT_FALSE(pDlg->FindNextButton()->isEnabled());
    EXPECT_TRUE(pDlg->SearchDown());
    QStringList texts;
    for (QAbstractButton* pButton : pDlg->findChildren<QAbstractButton*>())
        texts << pButton->text();
    for (const char* psz :
         {"Match &whole word only", "Match &case", "&Up", "&Down", "&Find Next", "Cancel"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(psz))) << psz;
    EXPECT_EQ(m_grid.OpenFindDialog(), 1);
    EXPECT_EQ(m_pOwner->findChildren<CGridFindDialogWnd*>().size(), 1);
}

TEST_F(GridFindDialog, EnterFindsNextAndEscapeCloses)
{
    CGridFindDialogWnd* pDlg = Open();
    ASSERT_NE(pDlg, nullptr);
    QTest::keyClicks(pDlg->FindEdit(), "abc");
    EXPECT_TRUE(pDlg->FindNextButton()->isEnabled());
    QTest::keyClick(pDlg->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(m_grid.GetCurrentRow(), 2);

    QCheckBox* pWhole = nullptr;
    for (QCheckBox* pBox : pDlg->findChildren<QCheckBox*>())
        if (pBox->text().contains(QStringLiteral("whole")))
            pWhole = pBox;
    ASSERT_NE(pWhole, nullptr);
    QTest::mouseClick(pWhole, Qt::LeftButton);
    EXPECT_TRUE(pDlg->MatchWholeWord());
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 0), kGridDone);
    QTest::mouseClick(pDlg->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(m_grid.GetCurrentRow(), 4);
    QTest::mouseClick(pDlg->FindNextButton(), Qt::LeftButton);
    ASSERT_EQ(m_messages.m_messages.size(), 1u);
    EXPECT_EQ(m_messages.m_messages[0].strText, "The search item was not found");
    EXPECT_EQ(m_messages.m_messages[0].strCaption, "HPA");
    EXPECT_EQ(m_messages.m_messages[0].icon, MessageIcon::Information);

    QTest::keyClick(pDlg, Qt::Key_Escape);
    EXPECT_FALSE(m_grid.IsFindDialogOpen());
    EXPECT_FALSE(pDlg->isVisible());
    Flush();
    EXPECT_EQ(m_pOwner->findChild<CGridFindDialogWnd*>(), nullptr);
    EXPECT_EQ(m_grid.OpenFindDialog(), 0);
}

// Cells in Windows-1252 and in UTF-8 are found by the text they show, any
// letter's case folded.
TEST_F(GridFindDialog, TypedTextFindsCellsAsTheyAreDisplayed)
{
    m_grid.SetCellText(1, 1, "Mueller");
    m_grid.SetCellText(1, 3, "M\xFCller");       // Windows-1252
    m_grid.SetCellText(1, 5, "\xC3\x9C-Gruppe"); // UTF-8
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 0), kGridDone);
    CGridFindDialogWnd* pDlg = Open();
    ASSERT_NE(pDlg, nullptr);
    pDlg->FindEdit()->setText(QStringLiteral(u"M\u00FCller")); // as typed
    QTest::keyClick(pDlg->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(m_grid.GetCurrentRow(), 3);
    pDlg->FindEdit()->setText(QStringLiteral(u"\u00FC-gruppe"));
    QTest::keyClick(pDlg->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(m_grid.GetCurrentRow(), 5);
    EXPECT_TRUE(m_messages.m_messages.empty());
}

TEST(GridTextMatcher, DecodesFoldsAndKeepsTheOptions)
{
    struct CCase {
        const char* pszCell;
        const char16_t* pszFind;
        bool bCase;
        bool bWhole;
        bool bMatch;
    };
    const CCase cases[] = {
        {"M\xDCLLER", u"m\u00FCller", false, false, true},   // 1252, folded
        {"M\xDCLLER", u"M\u00FCller", true, false, false},   // case must match
        {"M\xFCller", u"M\u00FCller", true, false, true},    // 1252 = typed
        {"\xC3\x84rger", u"\u00E4RGER", false, false, true}, // UTF-8, folded
        {"x \xC4RGER y", u"\u00E4rger", false, true, true},  // whole word
        {"x\xC4RGERx", u"\u00E4rger", false, true, false},
        {"Mueller", u"M\u00FCller", false, false, false}, // ASCII cell, other text
        {"xABCx", u"abc", false, false, true},            // ASCII as before
        {"xABCx", u"abc", true, false, false},
        {"xABCx", u"abc", false, true, false},
        {"x ABC y", u"abc", false, true, true},
        {"\x80 5", u"\u20AC 5", true, false, true}, // the euro sign of 1252
    };
    CQtGridTextMatcher matcher;
    for (const CCase& c : cases) {
        const std::string strFind = QString::fromUtf16(c.pszFind).toStdString();
        matcher.Begin(strFind, c.bCase, c.bWhole);
        EXPECT_EQ(matcher.Matches(c.pszCell), c.bMatch)
            << c.pszCell << " / " << strFind << " case " << c.bCase << " whole " << c.bWhole;
    }
}

TEST_F(GridFindDialog, CancelAndCloseFromTheProgramEndTheDialog)
{
    CGridFindDialogWnd* pDlg = Open();
    ASSERT_NE(pDlg, nullptr);
    for (QPushButton* pButton : pDlg->findChildren<QPushButton*>())
        if (pButton->text() == QStringLiteral("Cancel"))
            QTest::mouseClick(pButton, Qt::LeftButton);
    EXPECT_FALSE(m_grid.IsFindDialogOpen());
    Flush();

    Open();
    EXPECT_EQ(m_grid.CloseFindDialog(), 1);
    Flush();
    EXPECT_EQ(m_pOwner->findChild<CGridFindDialogWnd*>(), nullptr);
}

TEST_F(GridFindDialog, AWindowThatWentAwayDoesNotBlockTheNextOne)
{
    delete Open();
    EXPECT_EQ(m_grid.OpenFindDialog(), 0);
    m_pOwner.reset(); // takes the dialog with it
    EXPECT_EQ(m_grid.CloseFindDialog(), 1);
    EXPECT_EQ(m_grid.OpenFindDialog(), 1); // no owner, no dialog
}

TEST(GridClipboard, CellsAreDecodedOneByOne)
{
    // One cell UTF-8, one Windows-1252: both read as the same word.
    EXPECT_EQ(DecodeCopiedText("M\xC3\xBCller\tM\xFCller\n\x80"),
              QString::fromUtf8("M\xC3\xBCller\tM\xC3\xBCller\n\xE2\x82\xAC"));
    EXPECT_EQ(DecodeCopiedText(""), QString());
    EXPECT_EQ(DecodeCopiedText("\t\n"), QStringLiteral("\t\n"));

    CUGCtrl grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    grid.SetCellText(0, 0, "a");
    grid.SetCellText(1, 0, "b\xE9");
    grid.AllowRangeSelection(1);
    grid.GetSelection().ExtendBlock(1, 1);
    grid.SetClipboard(&QtGridClipboard());
    grid.CopySelectionToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("a\tb\xC3\xA9\n\t"));
}
