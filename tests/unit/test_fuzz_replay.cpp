// Replays every file of the fuzz corpora (seeds, and the inputs that once
// crashed or hung a target) through the same target functions the libFuzzer
// builds run, as an ordinary test: no libFuzzer needed, and a regression in
// any reader, the document loader, the reply reading or the mask handling
// shows up here by file name.
#define HPA_FUZZ_REPLAY 1
#include "fuzz/FuzzDocument.h"
#include "fuzz/FuzzFtpReply.h"
#include "fuzz/FuzzMasks.h"
#include "fuzz/FuzzReaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace hpa {
namespace {

using TargetFn = int (*)(const std::uint8_t*, std::size_t);

struct CTarget {
    const char* m_pszCorpus; // folder below fuzz/corpus
    TargetFn m_pfn;
};

const CTarget kTargets[] = {
    {"dictionary", fuzz::FuzzDictionaryReader}, {"status", fuzz::FuzzStatusReader},
    {"paper", fuzz::FuzzPaperReader},           {"job", fuzz::FuzzJobReader},
    {"document", fuzz::FuzzDocumentLoad},       {"ftp_reply", fuzz::FuzzFtpReply},
    {"masks", fuzz::FuzzMaskParsing},
};

std::filesystem::path CorpusDir(const char* pszName)
{
    const char* pszSource = std::getenv("HPA_SOURCE_DIR");
    return std::filesystem::path(pszSource ? pszSource : HPA_SOURCE_DIR) / "fuzz" / "corpus" /
           pszName;
}

std::vector<std::filesystem::path> CorpusFiles(const char* pszName)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir(pszName)))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public ::testing::TestWithParam<CTarget> {};

TEST_P(FuzzReplay, EveryCorpusFilePasses)
{
    const CTarget& target = GetParam();
    const std::vector<std::filesystem::path> files = CorpusFiles(target.m_pszCorpus);
    // Seeds are committed for every target; an empty folder means the
    // corpus went missing, not that all is well.
    ASSERT_FALSE(files.empty()) << CorpusDir(target.m_pszCorpus);
    for (const std::filesystem::path& path : files) {
        const std::string strBytes = ReadBytes(path);
        EXPECT_NO_THROW(
            target.m_pfn(reinterpret_cast<const std::uint8_t*>(strBytes.data()), strBytes.size()))
            << path.filename();
    }
}

INSTANTIATE_TEST_SUITE_P(Corpora, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<CTarget>& param) {
                             return std::string(param.param.m_pszCorpus);
                         });

// The targets' own checks must be able to fail, or the replay proves nothing.
TEST(FuzzReplayChecks, ABrokenInvariantIsReported)
{
    EXPECT_THROW(HPA_FUZZ_CHECK(1 + 1 == 3), std::logic_error);
}

} // namespace
} // namespace hpa
