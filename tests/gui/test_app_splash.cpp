// The start-up bitmap: shown with the frame unless the command line turns it
// off, gone after two seconds, and a key or mouse press only hides it.
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/SplashWindow.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace hpa {

namespace {

struct SplashFixture : ::testing::Test {
    CCommandRouter router;
    CCommandMap appMap;
    int nSaveAs = 0;

    void SetUp() override
    {
        appMap.On(ID_FILE_SAVE_AS, [this] { ++nSaveAs; });
        router.SetTarget(RouteSlot::App, &appMap);
        CSplashWindow::EnableSplashScreen(true);
    }
    void TearDown() override
    {
        CSplashWindow::EnableSplashScreen(false);
        QApplication::processEvents(); // deferred deletions
    }
};

} // namespace

TEST_F(SplashFixture, ShownWithTheFrameCentredAtBitmapSizeAndGoneAfterTwoSeconds)
{
    CMainFrame frame(router);
    QPointer<CSplashWindow> pSplash = CSplashWindow::Current();
    ASSERT_NE(pSplash, nullptr);
    EXPECT_TRUE(pSplash->isVisible());
    EXPECT_EQ(pSplash->size(), QPixmap(":/hpa/splash.png").size());
    EXPECT_EQ(pSplash->geometry().center(), frame.screen()->availableGeometry().center());
    EXPECT_TRUE(pSplash->windowFlags() & Qt::FramelessWindowHint);

    QTest::qWait(CSplashWindow::kShowMilliseconds - 500);
    EXPECT_EQ(CSplashWindow::Current(), pSplash.data());
    QTRY_VERIFY_WITH_TIMEOUT(pSplash.isNull(), 3000);
    EXPECT_EQ(CSplashWindow::Current(), nullptr);
}

TEST_F(SplashFixture, KeyPressOnlyHidesIt)
{
    CMainFrame frame(router);
    auto* pEdit = new QLineEdit(&frame);
    frame.setCentralWidget(pEdit);
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    pEdit->setFocus();
    ASSERT_NE(CSplashWindow::Current(), nullptr);
    pEdit->setText(QString());

    QTest::keyClick(pEdit, Qt::Key_F12); // the Save As accelerator
    EXPECT_EQ(CSplashWindow::Current(), nullptr);
    EXPECT_EQ(nSaveAs, 0);
    QTest::keyClick(pEdit, Qt::Key_A);
    EXPECT_EQ(pEdit->text(), "a"); // the next keys are the program's again
    QTest::keyClick(pEdit, Qt::Key_F12);
    EXPECT_EQ(nSaveAs, 1);
}

TEST_F(SplashFixture, MouseButtonPressOnlyHidesIt)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        CMainFrame frame(router);
        auto* pEdit = new QLineEdit(&frame);
        frame.setCentralWidget(pEdit);
        frame.show();
        ASSERT_NE(CSplashWindow::Current(), nullptr);
        int nPresses = 0;
        struct Counter : QObject {
            int& n;
            explicit Counter(int& r) : n(r) {}
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::MouseButtonPress)
                    ++n;
                return false;
            }
        } counter(nPresses);
        pEdit->installEventFilter(&counter);
        QTest::mousePress(pEdit, button);
        EXPECT_EQ(CSplashWindow::Current(), nullptr);
        EXPECT_EQ(nPresses, 0);
        QTest::mouseRelease(pEdit, button);
        QTest::mousePress(pEdit, button);
        EXPECT_EQ(nPresses, 1);
        QTest::mouseRelease(pEdit, button);
        pEdit->removeEventFilter(&counter);
        QApplication::processEvents();
    }
}

TEST_F(SplashFixture, OffWhenDisabledAndNeverTwice)
{
    CSplashWindow::EnableSplashScreen(false);
    {
        CMainFrame frame(router);
        EXPECT_EQ(CSplashWindow::Current(), nullptr);
    }
    CSplashWindow::EnableSplashScreen(true);
    CMainFrame frame(router);
    CSplashWindow* pFirst = CSplashWindow::Current();
    ASSERT_NE(pFirst, nullptr);
    CSplashWindow::ShowSplashScreen(&frame);
    EXPECT_EQ(CSplashWindow::Current(), pFirst);
}

TEST(SplashCommandLine, NosplashAndPrintTurnItOff)
{
    CCommandLineInfo plain;
    plain.Parse({"data.hpa"});
    EXPECT_TRUE(plain.m_bShowSplash);
    CCommandLineInfo off;
    off.Parse({"--nosplash", "data.hpa"});
    EXPECT_FALSE(off.m_bShowSplash);
    CCommandLineInfo print;
    print.Parse({"--print", "data.hpa"});
    EXPECT_FALSE(print.m_bShowSplash);
}

} // namespace hpa
