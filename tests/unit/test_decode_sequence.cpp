// The decode sequence shared by a download and hpactl decode: which readers
// run in which order, where it stops, and what it says itself.
#include "accounting/Acc.h"
#include "support/RecordingMessages.h"
#include "transfer/DownloadSession.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace hpa {
namespace {

// Status values as given, readers that fail as named; records the calls.
class CScriptedDecoder : public CAccountingDecoder {
public:
    void SetDownloadInfo(const std::string&, const std::string&, const std::string&) override {}
    bool ReadStatusFile() override { return Step("status"); }
    std::string StatusValue(int nField) const override
    {
        const auto it = m_values.find(nField);
        return it == m_values.end() ? "2" : it->second;
    }
    bool ReadDictionaryFile() override { return Step("dictionary"); }
    void FillStatusGrid() override { m_calls.push_back("statusgrid"); }
    bool ReadPaperFile() override { return Step("paper"); }
    bool ReadJobFile() override { return Step("job"); }

    std::map<int, std::string> m_values;
    std::set<std::string> m_failing;
    std::vector<std::string> m_calls;

private:
    bool Step(const std::string& strName)
    {
        m_calls.push_back(strName);
        return m_failing.count(strName) == 0;
    }
};

TEST(DecodeWorkingFiles, StepsStopsAndMessages)
{
    using Calls = std::vector<std::string>;
    const Calls all = {"status", "dictionary", "statusgrid", "paper", "job"};
    struct Case {
        const char* name;
        std::map<int, std::string> values;
        std::set<std::string> failing;
        DownloadResult result;
        Calls calls;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"everything reads", {}, {}, DownloadResult::Decoded, all, {}},
        {"status unreadable: its reader has spoken",
         {},
         {"status"},
         DownloadResult::StatusUnreadable,
         {"status"},
         {}},
        {"version 0",
         {{kFieldVersion, "0"}},
         {},
         DownloadResult::InvalidInitialization,
         {"status"},
         {kMsgInvalidInitialization}},
        {"no paper types",
         {{kFieldPaperTypes, "0"}},
         {},
         DownloadResult::InvalidInitialization,
         {"status"},
         {kMsgInvalidInitialization}},
        {"dictionary unreadable: no grid",
         {},
         {"dictionary"},
         DownloadResult::DictionaryUnreadable,
         {"status", "dictionary"},
         {}},
        {"paper fails, job still read", {}, {"paper"}, DownloadResult::DecodedWithErrors, all, {}},
        {"job fails", {}, {"job"}, DownloadResult::DecodedWithErrors, all, {}},
    };
    for (const Case& c : cases) {
        CScriptedDecoder decoder;
        decoder.m_values = c.values;
        decoder.m_failing = c.failing;
        test::CRecordingMessages messages;
        EXPECT_EQ(DecodeWorkingFiles(decoder, messages), c.result) << c.name;
        EXPECT_EQ(decoder.m_calls, c.calls) << c.name;
        EXPECT_EQ(messages.Exclamations(), c.messages) << c.name;
    }
}

} // namespace
} // namespace hpa
