// File > Add to history... on a document's grids: the jobs are stored under
// the printer named in the dialog, the database choice is kept, a second
// add brings nothing new, and a cancelled dialog stores nothing.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "grid/UGCtrl.h"
#include "history/qt/AddToHistory.h"
#include "history/qt/HistoryLocation.h"
#include "platform/Profile.h"
#include "support/HistoryFixture.h"
#include "support/RecordingMessages.h"
#include "transfer/AccDecoder.h"

#include <gtest/gtest.h>

namespace hpa {
namespace {

using test::CTempDir;

TEST(AddToHistory, DocumentJobsStoredOnceUnderTheNamedPrinter)
{
    CTempDir work;
    test::WriteWorkFiles(work.Path(), test::JobRange(1, 4));
    CFieldMasks masks;
    masks.m_strJobMask = "111111111111111111111111111";
    masks.Recount();
    std::array<CUGCtrl, 3> grids;
    CAcc acc;
    test::CRecordingMessages messages;
    CAccBinding binding;
    binding.m_pathWorkDir = work.Path();
    binding.m_pGrids = {&grids[0], &grids[1], &grids[2]};
    binding.m_pMasks = &masks;
    binding.m_pMessages = &messages;
    acc.Bind(binding);
    CAccDecoder decoder(acc);
    ASSERT_EQ(DecodeWorkingFiles(decoder, messages), DownloadResult::Decoded);

    const std::string strDb = (work.Path() / "h.sqlite").string();
    CMemoryProfile profile;
    CAddToHistoryContext context;
    context.m_content = {{&grids[0], &grids[1], &grids[2]}, &acc};
    context.m_pMasks = &masks;
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
