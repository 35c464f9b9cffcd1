// Command routing and the view's enabling rules, as the router answers them
// and as menus and toolbar show them, in both view states; and data-kind
// switching (pane text, radio mark).
#include "app/MainFrame.h"
#include "platform/qt/IdleProcessing.h"
#include "support/qt/FrameViewFixture.h"
#include "ui/CommandIds.h"
#include "view/qt/AccView.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <vector>

namespace hpa {

TEST(CommandRouter, FirstTargetOnTheRouteHandlesTheCommand)
{
    CCommandRouter router;
    CCommandMap view, doc, frame, app;
    std::vector<std::string> log;
    view.On(1, [&] { log.push_back("view 1"); });
    doc.On(1, [&] { log.push_back("doc 1"); });
    doc.On(2, [&] { log.push_back("doc 2"); });
    frame.OnRange(2, 5, [&](int n) { log.push_back("frame " + std::to_string(n)); });
    app.On(6, [&] { log.push_back("app 6"); });
    router.SetTarget(RouteSlot::App, &app);
    router.SetTarget(RouteSlot::Frame, &frame);
    router.SetTarget(RouteSlot::Document, &doc);
    router.SetTarget(RouteSlot::View, &view);
    for (int n : {1, 2, 4, 6, 7})
        router.Execute(n);
    EXPECT_EQ(log, (std::vector<std::string>{"view 1", "doc 2", "frame 4", "app 6"}));

    // A view plugged in later takes the slot over.
    CCommandMap view2;
    view2.On(1, [&] { log.push_back("view2 1"); });
    router.SetTarget(RouteSlot::View, &view2);
    router.Execute(1);
    EXPECT_EQ(log.back(), "view2 1");
}

TEST(CommandRouter, UpdateHandlersDecideElseHandledMeansEnabled)
{
    CCommandRouter router;
    CCommandMap view, app;
    router.SetTarget(RouteSlot::View, &view);
    router.SetTarget(RouteSlot::App, &app);
    int nRuns = 0;
    app.On(10, [&] { ++nRuns; });
    app.On(11, [&] { ++nRuns; });
    view.OnUpdate(10, [](CCmdUI& ui) { ui.Enable(false); });
    view.OnUpdate(11, [](CCmdUI& ui) { ui.SetCheck(1); }); // marks only
    view.OnUpdate(12, [](CCmdUI& ui) { ui.SetRadio(true); });

    EXPECT_FALSE(router.QueryState(10).m_bEnabled);
    EXPECT_TRUE(router.QueryState(11).m_bEnabled);
    EXPECT_EQ(router.QueryState(11).m_nCheck, 1);
    EXPECT_FALSE(router.QueryState(12).m_bEnabled); // marked but nobody handles it
    EXPECT_TRUE(router.QueryState(12).m_bRadio);
    EXPECT_FALSE(router.QueryState(99).m_bEnabled);

    EXPECT_FALSE(router.Execute(10)); // disabled: not run
    EXPECT_TRUE(router.Execute(11));
    EXPECT_FALSE(router.Execute(99));
    EXPECT_EQ(nRuns, 1);
}

namespace {

// The frame with the grid view (on grids of its own) in the View slot.
struct RulesFixture : test::FrameViewFixture {
    // What the menu shows for an item once its popup is about to open.
    bool MenuEnabled(int nMenu, int nID)
    {
        QMenu* pMenu = frame->TopMenu(nMenu);
        emit pMenu->aboutToShow();
        for (QAction* pAction : pMenu->actions())
            if (pAction->menu())
                emit pAction->menu()->aboutToShow();
        return frame->CommandAction(nID)->isEnabled();
    }
    // The toolbar as the idle update leaves it.
    bool ToolbarEnabled(int nID)
    {
        emit QAbstractEventDispatcher::instance()->aboutToBlock();
        return frame->CommandAction(nID)->isEnabled();
    }
};

const int kNeedsData[] = {ID_EDIT_FIND,          ID_FILE_PRINT, ID_FILE_PRINT_DIRECT,
                          ID_FILE_PRINT_PREVIEW, ID_EXPORT,     ID_VIEW_SUMMARY,
                          ID_FILE_NEW,           ID_FILE_SAVE,  ID_FILE_SAVE_AS};

} // namespace

TEST_F(RulesFixture, NoDataShownEnablesOnlyConnectAmongTheViewCommands)
{
    for (int nID : kNeedsData)
        EXPECT_FALSE(Enabled(nID)) << nID;
    for (int nID : {ID_DATA_JOB, ID_DATA_PAPER, ID_DATA_STATUS, ID_EDIT_COPY})
        EXPECT_FALSE(Enabled(nID)) << nID;
    EXPECT_TRUE(Enabled(ID_CONNECT));

    frame->show();
    EXPECT_FALSE(MenuEnabled(0, ID_FILE_NEW));
    EXPECT_FALSE(MenuEnabled(0, ID_EXPORT));
    EXPECT_FALSE(MenuEnabled(2, ID_DATA_PAPER));
    EXPECT_TRUE(MenuEnabled(3, ID_CONNECT));
    EXPECT_FALSE(ToolbarEnabled(ID_FILE_PRINT_DIRECT));
    EXPECT_FALSE(ToolbarEnabled(ID_EDIT_COPY));
    EXPECT_FALSE(ToolbarEnabled(ID_EDIT_FIND));
    EXPECT_TRUE(ToolbarEnabled(ID_CONNECT));
}

TEST_F(RulesFixture, DataShownEnablesTheDataCommandsAndDisablesConnect)
{
    view->SetCurrent(ID_DATA_STATUS, 2);
    for (int nID : kNeedsData)
        EXPECT_TRUE(Enabled(nID)) << nID;
    for (int nID : {ID_DATA_JOB, ID_DATA_PAPER, ID_DATA_STATUS})
        EXPECT_TRUE(Enabled(nID)) << nID;
    EXPECT_FALSE(Enabled(ID_CONNECT));

    frame->show();
    EXPECT_TRUE(MenuEnabled(0, ID_FILE_SAVE_AS));
    EXPECT_TRUE(MenuEnabled(0, ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(MenuEnabled(2, ID_DATA_JOB));
    EXPECT_FALSE(MenuEnabled(3, ID_CONNECT));
    EXPECT_TRUE(ToolbarEnabled(ID_FILE_PRINT_DIRECT));
    EXPECT_TRUE(ToolbarEnabled(ID_FILE_NEW));
    EXPECT_FALSE(ToolbarEnabled(ID_CONNECT));
}

TEST_F(RulesFixture, IdleProcessingOfAWorkingLoopUpdatesTheToolbar)
{
    frame->show();
    EXPECT_TRUE(ToolbarEnabled(ID_CONNECT));
    view->SetCurrent(ID_DATA_STATUS, 2);
    // What a download's message pump runs, while the loop never waits.
    RunIdleProcessing();
    EXPECT_FALSE(frame->CommandAction(ID_CONNECT)->isEnabled());
    EXPECT_TRUE(frame->CommandAction(ID_FILE_PRINT_DIRECT)->isEnabled());
}

TEST_F(RulesFixture, CopyFollowsTheShownGridsClick)
{
    view->SetCurrent(ID_DATA_STATUS, 2);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    view->AccGrid(2).m_bCellClicked = true;
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    // Switching to a grid never clicked disables Copy; the flag survives.
    router.Execute(ID_DATA_JOB);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    router.Execute(ID_DATA_STATUS);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    // No grid shown: disabled whatever the flags say.
    view->SetCurrent(0, -1);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
}

TEST_F(RulesFixture, ChoosingADataKindShowsItsGridPaneTextAndRadioMark)
{
    frame->show();
    view->SetCurrent(ID_DATA_STATUS, 2);
    view->ShowGrid(2, true);
    struct Step {
        int nID;
        const char* pszPane;
        int nGrid;
    };
    for (const Step& step : {Step{ID_DATA_JOB, "JOB", 0}, Step{ID_DATA_PAPER, "PAPER", 1},
                             Step{ID_DATA_STATUS, "STATUS", 2}}) {
        frame->CommandAction(step.nID)->trigger();
        EXPECT_EQ(frame->DataKindPaneText(), step.pszPane);
        EXPECT_EQ(view->CurrentKind(), step.nID);
        EXPECT_EQ(view->CurrentGrid(), step.nGrid);
        for (int g = 0; g < 3; ++g)
            EXPECT_EQ(view->IsGridShown(g), g == step.nGrid) << step.pszPane << " grid " << g;
        MenuEnabled(2, step.nID);
        for (int nID : {ID_DATA_JOB, ID_DATA_PAPER, ID_DATA_STATUS})
            EXPECT_EQ(frame->CommandAction(nID)->isChecked(), nID == step.nID);
    }
    // Radio marks, not check marks.
    EXPECT_NE(frame->CommandAction(ID_DATA_JOB)->actionGroup(), nullptr);
    EXPECT_TRUE(frame->CommandAction(ID_DATA_JOB)->actionGroup()->isExclusive());
}

TEST_F(RulesFixture, ChoosingTheKindAlreadyShownChangesNothing)
{
    view->SetCurrent(ID_DATA_PAPER, 1);
    view->ShowGrid(1, true);
    frame->SetDataKindPaneText("PAPER");
    frame->SetDataKindPaneText("kept");
    router.Execute(ID_DATA_PAPER);
    EXPECT_EQ(frame->DataKindPaneText(), "kept");
    EXPECT_TRUE(view->IsGridShown(1));
}

TEST_F(RulesFixture, ReplacingTheViewTakesItsRulesAlong)
{
    // A later view (the grid view) plugs its own map in; the frame's menus
    // follow it at once.
    CCommandMap other;
    other.On(ID_EXPORT, [] {});
    other.OnUpdate(ID_CONNECT, [](CCmdUI& ui) { ui.Enable(false); });
    router.SetTarget(RouteSlot::View, &other);
    EXPECT_TRUE(Enabled(ID_EXPORT));
    EXPECT_FALSE(Enabled(ID_CONNECT));
    frame->show();
    EXPECT_TRUE(MenuEnabled(0, ID_EXPORT));
}

} // namespace hpa
