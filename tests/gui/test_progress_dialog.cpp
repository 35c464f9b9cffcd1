// The transfer progress dialog: its parts, the percentage label, the cancel
// flag, Enter and Escape, and the owner that refuses input but repaints
// while the dialog exists.
#include "platform/qt/IdleProcessing.h"
#include "transfer/qt/ProgressDlg.h"
#include "ui/DialogUnits.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace hpa {

namespace {

// Counts the paint events of a widget.
class CPaintCounter : public QObject {
public:
    explicit CPaintCounter(QWidget* pWidget) { pWidget->installEventFilter(this); }
    int m_nPaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            ++m_nPaints;
        return false;
    }
};

// A main window with a button and a central view, as the program's frame.
struct Frame {
    Frame()
    {
        window.resize(500, 400);
        pView = new QWidget(&window);
        window.setCentralWidget(pView);
        pButton = new QPushButton(QStringLiteral("Press"), pView);
        pButton->setGeometry(10, 10, 100, 30);
        QObject::connect(pButton, &QPushButton::clicked, [this] { ++nClicks; });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // A click as the window system delivers it, so a blocked window can
    // refuse it.
    void ClickButton()
    {
        const QPoint at = pButton->mapTo(&window, pButton->rect().center());
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    QMainWindow window;
    QWidget* pView;
    QPushButton* pButton;
    int nClicks = 0;
};

} // namespace

TEST(ProgressDialog, TemplatePartsAndCaption)
{
    CProgressDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Downloading...");
    const CDialogUnits du(dlg.font());
    EXPECT_EQ(dlg.size(), QSize(du.X(186), du.Y(79)));
    EXPECT_EQ(dlg.CancelButton()->text(), "Cancel");
    EXPECT_EQ(dlg.CancelButton()->geometry(), du.Rect(67, 58, 50, 14));
    EXPECT_TRUE(dlg.CancelButton()->isDefault());
    EXPECT_EQ(dlg.ProgressBar()->geometry(), du.Rect(15, 34, 154, 13));
    EXPECT_EQ(dlg.ProgressBar()->minimum(), 0);
    EXPECT_EQ(dlg.ProgressBar()->maximum(), 100);
    EXPECT_EQ(dlg.Pos(), 0);
    EXPECT_EQ(dlg.PercentLabel()->text(), " 0 %");
    EXPECT_EQ(dlg.PercentLabel()->pos(), du.Rect(85, 23, 18, 8).topLeft());
    EXPECT_EQ(dlg.MessageLabel()->text(), "");
    EXPECT_FALSE(dlg.isVisible()); // until Create

    dlg.SetMessage(std::string("Receiving Dictionary File."));
    EXPECT_EQ(dlg.MessageLabel()->text(), "Receiving Dictionary File.");
    EXPECT_EQ(CProgressDlg(nullptr, "Uploading...").windowTitle(), "Uploading...");
}

TEST(ProgressDialog, PercentageLabelWrapsBeyondTheRangeAndTheBarStopsAtItsEnd)
{
    CProgressDlg dlg;
    struct Step {
        int nPos;
        const char* pszLabel;
        int nBar;
    };
    const Step steps[] = {{0, "0%", 0},      {42, "42%", 42},      {100, "100%", 100},
                          {150, "50%", 100}, {200, "0%", 100},     {99, "99%", 99},
                          {-5, "-5%", 0},    {INT_MAX, "47%", 100}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.nPos);
        dlg.SetPos(s.nPos);
        EXPECT_EQ(dlg.PercentLabel()->text(), s.pszLabel);
        EXPECT_EQ(dlg.Pos(), s.nBar);
    }
}

TEST(ProgressDialog, CancelRaisesAFlagOnlyCheckCancelClears)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_FALSE(dlg.IsOwnerDisabled()); // no parent, no owner
    EXPECT_FALSE(dlg.IsCancelled());

    dlg.CancelButton()->click();
    dlg.CancelButton()->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.IsCancelled());
    EXPECT_TRUE(dlg.IsCancelled()); // reading does not clear
    EXPECT_TRUE(dlg.CheckCancel()); // two presses, one cancel
    EXPECT_FALSE(dlg.CheckCancel());
    EXPECT_FALSE(dlg.IsCancelled());

    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.CheckCancel());

    dlg.close(); // the window's close box cancels too, and the dialog stays
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.CheckCancel());

    // Enter neither closes nor cancels, whether the button has the focus
    // or the dialog itself.
    dlg.CancelButton()->setFocus();
    QTest::keyClick(dlg.CancelButton(), Qt::Key_Return);
    QTest::keyClick(&dlg, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.IsCancelled());
}

TEST(ProgressDialog, CheckCancelAndSetPosPumpIsCancelledDoesNot)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    bool bFired = false;
    QTimer::singleShot(0, [&] { bFired = true; });
    dlg.IsCancelled();
    EXPECT_FALSE(bFired);
    dlg.CheckCancel();
    EXPECT_TRUE(bFired);

    // A click on Cancel waiting in the queue is seen by CheckCancel.
    QTimer::singleShot(0, dlg.CancelButton(), &QPushButton::click);
    EXPECT_FALSE(dlg.IsCancelled());
    dlg.SetPos(10);
    EXPECT_TRUE(dlg.IsCancelled());
}

TEST(ProgressDialog, PumpingRunsTheIdleUpdate)
{
    // The event loop never waits during a download, so the pump itself
    // must run the idle-time work (the toolbar's state).
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    QSignalSpy idle(&CIdleHub::Instance(), &CIdleHub::idle);
    dlg.SetPos(10);
    EXPECT_EQ(idle.count(), 1);
    dlg.CheckCancel();
    EXPECT_EQ(idle.count(), 2);
}

TEST(ProgressDialog, OwnerRefusesClicksButRepaintsWhileTheDialogExists)
{
    Frame frame;
    frame.ClickButton();
    ASSERT_EQ(frame.nClicks, 1);

    auto pDlg = std::make_unique<CProgressDlg>(frame.pView);
    ASSERT_TRUE(pDlg->Create());
    EXPECT_TRUE(pDlg->IsOwnerDisabled());
    EXPECT_EQ(pDlg->Owner(), &frame.window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pDlg.get()));

    frame.ClickButton();
    EXPECT_EQ(frame.nClicks, 1);

    CPaintCounter paints(frame.pButton);
    frame.pButton->update();
    for (int i = 0; i < 50 && paints.m_nPaints == 0; ++i) {
        pDlg->PumpMessages();
        QTest::qWait(10);
    }
    EXPECT_GT(paints.m_nPaints, 0);

    // Cancel still works in the dialog itself.
    QTest::mouseClick(pDlg->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(pDlg->CheckCancel());

    pDlg.reset();
    frame.ClickButton();
    EXPECT_EQ(frame.nClicks, 2);
}

} // namespace hpa
