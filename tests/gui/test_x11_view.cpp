// The program on a real X server: it starts with a document made by
// hpactl, shows the Status grid with "STATUS" in the pane, and switches
// kinds, with the grids really painted on the screen. Runs only on the xcb
// platform (tests/gui/x11_check.sh starts it under xvfb-run); elsewhere it
// is skipped.
//
// HPA_X11_DOCUMENT names the document to open (default: one made here with
// hpactl decode --save from the test data); HPA_X11_SHOTS a directory for
// screenshots of each step (default: none kept).
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/VexAccApp.h"
#include "document/qt/DocumentUi.h"
#include "grid/qt/GridWnd.h"
#include "platform/Profile.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "ui/CommandIds.h"
#include "view/qt/AccView.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace hpa {

namespace {

namespace fs = std::filesystem;

class CNoQuestionsUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return {}; }
    QString GetSaveFileName(const QString&) override { return {}; }
};

// What the screen shows inside the widget's rectangle.
QImage ScreenShot(QWidget* pWidget)
{
    QApplication::processEvents();
    QTest::qWait(150);
    const QPoint origin = pWidget->mapToGlobal(QPoint(0, 0));
    return pWidget->screen()
        ->grabWindow(0, origin.x(), origin.y(), pWidget->width(), pWidget->height())
        .toImage();
}

// Pixels that are neither white nor light grey: text and dark lines.
int DarkPixels(const QImage& image, const QRect& rc)
{
    int n = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++n;
    return n;
}

void Keep(const QImage& image, const char* pszName)
{
    if (const char* pszDir = std::getenv("HPA_X11_SHOTS"))
        image.save(QString::fromLocal8Bit(pszDir) + "/" + pszName + ".png");
}

} // namespace

TEST(X11View, OpensADocumentShowsStatusAndSwitchesKinds)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs a real X server (tests/gui/x11_check.sh)";

    test::CTempDir dir;
    std::string strDocument;
    if (const char* pszDoc = std::getenv("HPA_X11_DOCUMENT")) {
        strDocument = pszDoc;
    } else {
        strDocument = (dir.Path() / "office.hpa").string();
        const std::string cmd = std::string(HPA_BIN_DIR) + "/hpactl decode " + HPA_SOURCE_DIR +
                                "/testdata/decode/office --save " + strDocument;
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }

    CMemoryProfile profile;
    test::CRecordingMessages messages;
    CNoQuestionsUi ui;
    CVexAccApp::Options options;
    options.pProfile = &profile;
    options.pMessages = &messages;
    options.pDocumentUi = &ui;
    options.bSingleInstance = false;
    CVexAccApp app(options);
    CCommandLineInfo info;
    info.Parse({"--nosplash", strDocument});
    ASSERT_TRUE(app.InitInstance(info));
    CMainFrame* pFrame = app.MainFrame();
    auto* pView = dynamic_cast<CVexAccView*>(app.View());
    ASSERT_NE(pView, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pFrame));
    pFrame->activateWindow();

    EXPECT_EQ(pFrame->DataKindPaneText(), "STATUS");
    EXPECT_EQ(pView->CurrentKind(), ID_DATA_STATUS);
    QImage shot = ScreenShot(pFrame);
    Keep(shot, "1-status");

    struct Step {
        int nID;
        const char* pszPane;
        int nGrid;
        const char* pszShot;
    };
    for (const Step& step :
         {Step{ID_DATA_STATUS, "STATUS", 2, nullptr}, Step{ID_DATA_JOB, "JOB", 0, "2-job"},
          Step{ID_DATA_PAPER, "PAPER", 1, "3-paper"}, Step{ID_DATA_STATUS, "STATUS", 2, nullptr}}) {
        SCOPED_TRACE(step.pszPane);
        pFrame->ExecuteCommand(step.nID);
        EXPECT_EQ(pFrame->DataKindPaneText(), step.pszPane);
        CGridWnd* pWnd = pView->GridWnd(step.nGrid);
        ASSERT_TRUE(pWnd->isVisible());
        EXPECT_EQ(pWnd->geometry(), pView->rect());
        const QImage grid = ScreenShot(pWnd);
        if (step.pszShot)
            Keep(ScreenShot(pFrame), step.pszShot);
        // The cells' texts are on the screen: dark pixels in the first rows.
        const QRect rcCells(pView->AccGrid(step.nGrid).GetGridLayout().m_nSideHeadingWidth + 2,
                            pView->AccGrid(step.nGrid).GetGridLayout().m_nTopHeadingHeight + 2, 200,
                            40);
        EXPECT_GT(DarkPixels(grid, rcCells), 20);
    }

    // File > New: no grid, the view's white background.
    pFrame->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(pFrame->DataKindPaneText(), "");
    shot = ScreenShot(pView);
    Keep(ScreenShot(pFrame), "4-new");
    EXPECT_EQ(shot.pixelColor(shot.rect().center()), QColor(Qt::white));
    EXPECT_TRUE(messages.m_messages.empty());
}

} // namespace hpa
