// File > Add to history... on a document's grids: the jobs are stored under
// the printer named in the dialog, the database choice is kept, a second
// add brings nothing new, and a cancelled dialog stores nothing.
#include "history/qt/AddToHistory.h"
#include "history/qt/HistoryLocation.h"
#include "platform/Profile.h"
#include "support/AccFixture.h"
#include "support/HistoryFixture.h"
#include "transfer/AccDecoder.h"

#include <gtest/gtest.h>

namespace hpa {
namespace {

TEST(AddToHistory, DocumentJobsStoredOnceUnderTheNamedPrinter)
{
    test::CAccFixture fixture;
    test::WriteWorkFiles(fixture.m_dir.Path(), test::JobRange(1, 4));
    fixture.m_masks.m_strJobMask = "111111111111111111111111111";
    fixture.m_masks.Recount();
    CAccDecoder decoder(fixture.m_acc);
    ASSERT_EQ(DecodeWorkingFiles(decoder, fixture.m_messages), DownloadResult::Decoded);
    auto& grids = fixture.m_grids;
    test::CRecordingMessages& messages = fixture.m_messages;

    const std::string strDb = (fixture.m_dir.Path() / "h.sqlite").string();
    CMemoryProfile profile;
    CAddToHistoryContext context;
    context.m_content = {{&grids[0], &grids[1], &grids[2]}, &fixture.m_acc};
    context.m_pMasks = &fixture.m_masks;
    context.m_pMessages = &messages;
    context.m_pProfile = &profile;
    bool bAnswer = false;
    context.m_fnAsk = [&](QString& strPrinter, QString& strDatabase) {
        strPrinter = "  front desk ";
        strDatabase = QString::fromStdString(strDb);
        return bAnswer;
    };
    EXPECT_FALSE(OnAddToHistory(context)); // cancelled
    EXPECT_FALSE(std::filesystem::exists(strDb));

    bAnswer = true;
    ASSERT_TRUE(OnAddToHistory(context)) << testing::PrintToString(messages.Exclamations());
    EXPECT_EQ(profile.GetString(kProfileHistorySection, kProfileHistoryDatabase), strDb);
    EXPECT_EQ(ChosenHistoryLocation(profile), strDb);
    ASSERT_TRUE(OnAddToHistory(context));
    ASSERT_EQ(messages.m_messages.size(), 2u);
    EXPECT_EQ(messages.m_messages[0].strText,
              "4 jobs of the document, 4 of them new, are now in the history of printer front "
              "desk.");
    EXPECT_NE(messages.m_messages[1].strText.find("0 of them new"), std::string::npos);

    std::string strError;
    auto pStore = OpenHistoryStore(strDb, strError);
    std::vector<CPrinterHistory> printers;
    ASSERT_TRUE(pStore && pStore->ReadPrinters(printers, strError)) << strError;
    ASSERT_EQ(printers.size(), 1u);
    EXPECT_EQ(printers[0].m_strName, "front desk");
    EXPECT_EQ(printers[0].m_nJobsHeld, 4);
    // The document's status values came along.
    EXPECT_EQ(printers[0].m_collections.back().m_strStatus[0], "2");
}

} // namespace
} // namespace hpa
