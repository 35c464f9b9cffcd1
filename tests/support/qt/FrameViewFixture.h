#pragma once
// The main frame with the grid view, on three grids of the fixture's own,
// plugged into the View slot of a router of its own.
#include "app/MainFrame.h"
#include "view/qt/AccGrid.h"
#include "view/qt/AccView.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace hpa::test {

struct FrameViewFixture : ::testing::Test {
    std::array<CAccGrid, 3> grids;
    int nKind = 0;
    int nGrid = -1;
    CCommandRouter router;
    std::unique_ptr<CMainFrame> frame;
    CVexAccView* view = nullptr; // owned by the frame

    void SetUp() override;
    void TearDown() override;
    // Whether the router would run the command now.
    bool Enabled(int nID) const { return router.QueryState(nID).m_bEnabled; }
};

} // namespace hpa::test
