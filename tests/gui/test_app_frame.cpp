// The main frame's resources as the user meets them: menu 128, accelerator
// table 128, toolbar 128, prompts and tool tips, the status bar panes, the
// title, the About box and the help commands.
#include "app/AboutDialog.h"
#include "app/FrameResources.h"
#include "app/MainFrame.h"
#include "app/StatusPane.h"
#include "ui/CommandIds.h"
#include "ui/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace hpa {

namespace {

// A frame whose application slot records every command it receives.
struct FrameFixture : ::testing::Test {
    CCommandRouter router;
    CCommandMap appMap;
    std::vector<int> received;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override
    {
        frame = std::make_unique<CMainFrame>(router);
        router.SetTarget(RouteSlot::App, &appMap);
    }
    void TearDown() override
    {
        if (auto* pHelp = CHelpWindow::Existing())
            pHelp->close();
        frame.reset();
    }
    void Handle(std::initializer_list<int> ids)
    {
        for (int nID : ids)
            appMap.On(nID, [this, nID] { received.push_back(nID); });
    }
    void ShowActive()
    {
        frame->show();
        QApplication::setActiveWindow(frame.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
};

// The menu as rows of "text|shortcut", "-" for separators, ">" and "<" for
// entering and leaving a submenu.
void DescribeMenu(QMenu* pMenu, QStringList& rows)
{
    for (QAction* pAction : pMenu->actions()) {
        if (!pAction->isVisible())
            continue;
        if (pAction->isSeparator()) {
            rows << QStringLiteral("-");
        } else if (pAction->menu()) {
            rows << QStringLiteral(">") + pAction->text();
            DescribeMenu(pAction->menu(), rows);
            rows << QStringLiteral("<");
        } else {
            rows << pAction->text().replace(QLatin1Char('\t'), QLatin1Char('|'));
        }
    }
}

} // namespace

TEST_F(FrameFixture, MenuBarHoldsMenu128)
{
    QStringList titles;
    for (QAction* pAction : frame->menuBar()->actions())
        titles << pAction->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Admin", "&Help"}));

    QStringList rows;
    for (int i = 0; i < 5; ++i) {
        rows << QStringLiteral("[") + frame->TopMenu(i)->title();
        DescribeMenu(frame->TopMenu(i), rows);
    }
    const QStringList expected = {"[&File",
                                  "&New|Ctrl+N",
                                  "&Open...|Ctrl+O",
                                  "Save &As...",
                                  "-",
                                  "&Export...",
                                  "Add to &History...",
                                  "-",
                                  "&Print...|Ctrl+P",
                                  "Print Pre&view",
                                  "P&rint Setup...",
                                  "-",
                                  "Recent File",
                                  "-",
                                  "E&xit",
                                  "[&Edit",
                                  "&Copy|Ctrl+C",
                                  "-",
                                  "&Find...",
                                  "[&View",
                                  ">&Data",
                                  "&Job",
                                  "&Paper",
                                  "&Status",
                                  "<",
                                  "&Filters...",
                                  "&Summary...",
                                  "[&Admin",
                                  "&Connect to Printer...",
                                  "[&Help",
                                  "&Help Topics",
                                  "-",
                                  "&About HPA..."};
    EXPECT_EQ(rows, expected);
}

TEST_F(FrameFixture, RecentFilesTakeThePlaceOfThePlaceholder)
{
    Handle({ID_FILE_MRU_FILE1 + 1});
    frame->SetRecentFiles({"/data/a.hpa", "/data/R&D.hpa"});
    QStringList rows;
    DescribeMenu(frame->TopMenu(0), rows);
    const int nAt = rows.indexOf("P&rint Setup...");
    ASSERT_GE(nAt, 0);
    EXPECT_EQ(rows.mid(nAt + 1, 5),
              (QStringList{"-", "&1 /data/a.hpa", "&2 /data/R&&D.hpa", "-", "E&xit"}));
    frame->RecentFileActions().at(1)->trigger();
    EXPECT_EQ(received, std::vector<int>{ID_FILE_MRU_FILE1 + 1});

    frame->SetRecentFiles({});
    rows.clear();
    DescribeMenu(frame->TopMenu(0), rows);
    EXPECT_TRUE(rows.contains("Recent File"));
    EXPECT_TRUE(frame->RecentFileActions().isEmpty());
}

TEST_F(FrameFixture, AcceleratorsSendTheirCommandsAndUnhandledKeysDoNothing)
{
    Handle({ID_EDIT_COPY, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT, ID_FILE_SAVE, ID_FILE_SAVE_AS});
    ShowActive();
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int nExpected; // 0: nothing may run
    };
    const Key keys[] = {
        {Qt::Key_C, Qt::ControlModifier, ID_EDIT_COPY},
        {Qt::Key_Insert, Qt::ControlModifier, ID_EDIT_COPY},
        {Qt::Key_N, Qt::ControlModifier, ID_FILE_NEW},
        {Qt::Key_O, Qt::ControlModifier, ID_FILE_OPEN},
        {Qt::Key_P, Qt::ControlModifier, ID_FILE_PRINT},
        {Qt::Key_S, Qt::ControlModifier, ID_FILE_SAVE},
        {Qt::Key_F12, Qt::NoModifier, ID_FILE_SAVE_AS},
        {Qt::Key_V, Qt::ControlModifier, 0},
        {Qt::Key_Insert, Qt::ShiftModifier, 0},
        {Qt::Key_X, Qt::ControlModifier, 0},
        {Qt::Key_Delete, Qt::ShiftModifier, 0},
        {Qt::Key_Z, Qt::ControlModifier, 0},
        {Qt::Key_Backspace, Qt::AltModifier, 0},
        {Qt::Key_F6, Qt::NoModifier, 0},
        {Qt::Key_F6, Qt::ShiftModifier, 0},
    };
    for (const Key& k : keys) {
        received.clear();
        QTest::keyClick(frame.get(), k.key, k.mods);
        if (k.nExpected)
            EXPECT_EQ(received, std::vector<int>{k.nExpected})
                << QKeySequence(k.key | k.mods).toString().toStdString();
        else
            EXPECT_TRUE(received.empty()) << QKeySequence(k.key | k.mods).toString().toStdString();
    }
    // Every key of the table is bound to its command.
    for (const AcceleratorEntry& e : MainAccelerators()) {
        ASSERT_NE(frame->AcceleratorAction(e.nID), nullptr) << e.pszKey;
        EXPECT_TRUE(frame->AcceleratorAction(e.nID)->shortcuts().contains(
            QKeySequence(QString::fromLatin1(e.pszKey))))
            << e.pszKey;
    }
}

TEST_F(FrameFixture, DisabledCommandIsNotRunByItsKey)
{
    Handle({ID_FILE_NEW});
    bool bEnabled = false;
    appMap.OnUpdate(ID_FILE_NEW, [&](CCmdUI& ui) { ui.Enable(bEnabled); });
    ShowActive();
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(received.empty());
    bEnabled = true;
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(received, std::vector<int>{ID_FILE_NEW});
}

TEST_F(FrameFixture, ToolbarButtonsInOrderWith16x15IconsTipsAndPrompts)
{
    QToolBar* pBar = frame->ToolBar();
    EXPECT_EQ(pBar->iconSize(), QSize(16, 15));
    EXPECT_FALSE(pBar->isMovable());
    EXPECT_FALSE(pBar->isFloatable());
    std::vector<int> ids;
    for (QAction* pAction : pBar->actions())
        ids.push_back(pAction->isSeparator() ? 0 : pAction->data().toInt());
    EXPECT_EQ(ids, (std::vector<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_AS, 0,
                                     ID_FILE_PRINT_DIRECT, ID_EDIT_COPY, ID_EDIT_FIND, 0,
                                     ID_CONNECT, 0, ID_APP_ABOUT, ID_CONTEXT_HELP}));
    for (QAction* pAction : pBar->actions()) {
        if (pAction->isSeparator())
            continue;
        const int nID = pAction->data().toInt();
        const QPixmap pixmap = pAction->icon().pixmap(QSize(16, 15));
        EXPECT_EQ(pixmap.size(), QSize(16, 15)) << nID;
        const QImage image = pixmap.toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 3) << nID << ": a drawn button, not a blank";
        if (CommandPrompt(nID)) {
            EXPECT_EQ(pAction->toolTip().toStdString(), std::string(PromptTip(nID)));
            EXPECT_EQ(pAction->statusTip().toStdString(), std::string(PromptMessage(nID)));
        }
    }
    EXPECT_EQ(frame->CommandAction(ID_FILE_PRINT_DIRECT)->toolTip(), "Print");
    EXPECT_EQ(frame->CommandAction(ID_CONNECT)->toolTip(), "Connect");
    EXPECT_EQ(frame->CommandAction(ID_CONTEXT_HELP)->statusTip(),
              "Display help for clicked on buttons, menus and windows");
    // Menu items carry their prompt for the status bar too; the data kinds,
    // Filters and Summary have none.
    EXPECT_EQ(frame->CommandAction(ID_FILE_SAVE_AS)->statusTip(),
              "Save the active document with a new name");
    EXPECT_EQ(frame->CommandAction(ID_APP_EXIT)->statusTip(),
              "Quit the application; prompts to save documents");
    EXPECT_TRUE(frame->CommandAction(ID_DATA_JOB)->statusTip().isEmpty());
    EXPECT_TRUE(frame->CommandAction(ID_FILTERS)->statusTip().isEmpty());
}

TEST_F(FrameFixture, MessagePaneShowsPromptsAndIdleText)
{
    EXPECT_EQ(frame->MessagePaneText(), "For Help, press F1");
    QStatusTipEvent tip(QStringLiteral("Create a new document"));
    QApplication::sendEvent(frame.get(), &tip);
    EXPECT_EQ(frame->MessagePaneText(), "Create a new document");
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(frame.get(), &none);
    EXPECT_EQ(frame->MessagePaneText(), "For Help, press F1");
}

TEST_F(FrameFixture, DataKindPaneIsExactlySixXWideInItsFont)
{
    frame->show();
    auto* pPane = static_cast<CStatusPane*>(frame->DataKindPane());
    EXPECT_EQ(pPane->TextAreaWidth(),
              QFontMetrics(pPane->font()).horizontalAdvance(QStringLiteral("XXXXXX")));
    QFont big = frame->statusBar()->font();
    big.setPointSize(big.pointSize() * 2 + 3);
    frame->statusBar()->setFont(big);
    QApplication::processEvents();
    EXPECT_EQ(pPane->TextAreaWidth(),
              QFontMetrics(pPane->font()).horizontalAdvance(QStringLiteral("XXXXXX")));
    EXPECT_EQ(frame->DataKindPaneText(), "");
    frame->SetDataKindPaneText("STATUS");
    EXPECT_EQ(frame->DataKindPaneText(), "STATUS");
}

TEST_F(FrameFixture, DataKindPaneTextKeepsAMarginFromTheBoxLine)
{
    frame->show();
    frame->SetDataKindPaneText("JOB");
    QWidget* pPane = frame->DataKindPane();
    const QImage image = pPane->grab().toImage();
    ASSERT_GT(image.height(), 4);
    // Between the box's left line (x = 0) and the text, inside its top and
    // bottom lines (y = 0, y = height - 2): background only.
    const QRgb background = image.pixel(1, 1);
    for (int x = 1; x <= 2; ++x)
        for (int y = 1; y < image.height() - 2; ++y)
            EXPECT_EQ(image.pixel(x, y), background) << x << "," << y;
    // The text is drawn at all (so the check above saw the real picture).
    bool bInk = false;
    for (int x = 3; x < image.width() - 2 && !bInk; ++x)
        for (int y = 1; y < image.height() - 2 && !bInk; ++y)
            bInk = image.pixel(x, y) != background;
    EXPECT_TRUE(bInk);
}

TEST_F(FrameFixture, TitleIsDocumentNameThenHpa)
{
    EXPECT_EQ(frame->windowTitle(), "Untitled - HPA");
    frame->SetDocumentTitle("march.hpa");
    EXPECT_EQ(frame->windowTitle(), "march.hpa - HPA");
}

TEST(AboutDialog, CaptionNameVersionAndOk)
{
    CAboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "About HPA");
    EXPECT_EQ(dialog.NameLabel()->text(), "Halyard Printer Auditor");
    EXPECT_EQ(dialog.VersionLabel()->text(), "Version 1.1.0");
    EXPECT_EQ(dialog.OkButton()->text(), "OK");
    EXPECT_TRUE(dialog.NameLabel()->alignment() & Qt::AlignHCenter);
    dialog.show();
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FrameFixture, HelpCommandsOpenTheirPages)
{
    frame->ExecuteCommand(ID_HELP_FINDER);
    ASSERT_NE(CHelpWindow::Existing(), nullptr);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), "index.html");
    EXPECT_EQ(CHelpWindow::Existing()->parentWidget(), frame.get());
    frame->ExecuteCommand(ID_HELP);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), "mainwindow.html");
    ShowHelpContext(0x18003);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), "connect.html");
    EXPECT_FALSE(CHelpWindow::Existing()->Browser()->toPlainText().isEmpty());
}

// Clicks the help window's Contents button; true when the click got through
// (the contents page shows).
bool ContentsClickWorks()
{
    CHelpWindow* pHelp = CHelpWindow::Existing();
    if (!pHelp || !QTest::qWaitForWindowExposed(pHelp))
        return false;
    pHelp->ShowPage(QStringLiteral("export.html"));
    QCoreApplication::processEvents();
    // Through the window system, which drops input to a blocked window.
    for (QPushButton* pButton : pHelp->findChildren<QPushButton*>())
        if (pButton->text() == QStringLiteral("&Contents"))
            QTest::mouseClick(pHelp->windowHandle(), Qt::LeftButton, {},
                              pButton->mapTo(pHelp, pButton->rect().center()));
    return pHelp->CurrentPage() == QStringLiteral("index.html");
}

// F1 in a modal dialog, and help already open when one opens: the help
// window takes clicks beside the dialog, and still after it closed.
TEST_F(FrameFixture, HelpStaysUsableBesideAModalDialog)
{
    ShowActive();
    const auto runDialog = [this](const std::function<void()>& fnInside) {
        QDialog dialog(frame.get());
        bool bWorks = false;
        QTimer::singleShot(0, &dialog, [&] {
            fnInside();
            QCoreApplication::processEvents();
            bWorks = ContentsClickWorks() && dialog.isVisible();
            dialog.reject();
        });
        dialog.exec();
        return bWorks;
    };
    EXPECT_TRUE(runDialog([] { ShowHelpContext(0x1800E); })); // F1 in the dialog
    QCoreApplication::processEvents();
    EXPECT_TRUE(ContentsClickWorks());
    EXPECT_TRUE(runDialog([] {})); // the help window was open already
    QCoreApplication::processEvents();
    EXPECT_TRUE(ContentsClickWorks());
    EXPECT_EQ(CHelpWindow::Existing()->parentWidget(), frame.get());
}

TEST(Help, ContextNumbersMapToPagesThatExistAndLinkOnlyToEachOther)
{
    EXPECT_EQ(HelpPageForContext(0x18003), "connect.html");
    EXPECT_EQ(HelpPageForContext(0x1800E), "filters.html");
    EXPECT_EQ(HelpPageForContext(0x1800F), "summary.html");
    EXPECT_EQ(HelpPageForContext(0x20080), "mainwindow.html");
    EXPECT_EQ(HelpPageForContext(0x12345), "index.html");
    CHelpWindow window; // registers the resources
    for (unsigned n = 0x10000; n < 0x20000; ++n) {
        const QString strPage = HelpPageForContext(n);
        EXPECT_TRUE(QFile::exists(":/hpa/help/" + strPage)) << strPage.toStdString();
    }
    static const QRegularExpression kLink(QStringLiteral("href=\"([^\"#:]+)\""));
    QFile index(QStringLiteral(":/hpa/help/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString strIndex = QString::fromUtf8(index.readAll());
    for (auto it = kLink.globalMatch(strIndex); it.hasNext();) {
        const QString strTarget = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(":/hpa/help/" + strTarget)) << strTarget.toStdString();
    }
}

TEST_F(FrameFixture, HelpModeShowsTopicsInsteadOfRunningCommands)
{
    Handle({ID_CONNECT});
    frame->show();
    frame->ExecuteCommand(ID_CONTEXT_HELP);
    ASSERT_TRUE(frame->IsHelpMode());
    // A menu item chosen in help mode opens its topic and runs nothing.
    frame->CommandAction(ID_CONNECT)->trigger();
    EXPECT_TRUE(received.empty());
    EXPECT_FALSE(frame->IsHelpMode());
    ASSERT_NE(CHelpWindow::Existing(), nullptr);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), "connect.html");

    // A toolbar button is taken even when disabled.
    frame->ExecuteCommand(ID_CONTEXT_HELP);
    QToolButton* pFind = nullptr;
    for (auto* pButton : frame->ToolBar()->findChildren<QToolButton*>())
        if (pButton->defaultAction() == frame->CommandAction(ID_EDIT_FIND))
            pFind = pButton;
    ASSERT_NE(pFind, nullptr);
    QTest::mouseClick(pFind, Qt::LeftButton);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), "findcopy.html");
    EXPECT_FALSE(frame->IsHelpMode());

    // Escape leaves help mode without a topic.
    frame->ExecuteCommand(ID_CONTEXT_HELP);
    CHelpWindow::Existing()->ShowPage("index.html");
    QTest::keyClick(frame.get(), Qt::Key_Escape);
    EXPECT_FALSE(frame->IsHelpMode());
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), "index.html");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace hpa
