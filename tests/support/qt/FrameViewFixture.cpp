#include "support/qt/FrameViewFixture.h"

namespace hpa::test {

void FrameViewFixture::SetUp()
{
    frame = std::make_unique<CMainFrame>(router);
    view = new CVexAccView(CViewGrids{&grids, &nKind, &nGrid, nullptr});
    frame->SetView(view);
    router.SetTarget(RouteSlot::View, &view->CommandMap());
}

void FrameViewFixture::TearDown()
{
    router.SetTarget(RouteSlot::View, nullptr);
    frame.reset();
}

} // namespace hpa::test
