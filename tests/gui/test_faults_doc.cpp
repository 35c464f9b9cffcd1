// Hostile and damaged .hpa documents, and saves that cannot succeed, through
// the desktop's document: every damaged file is refused with "Unexpected
// file format." in bounded time and with at most 64 MiB of extra memory; a
// save onto a full or read-only file system, or below a regular file,
// reports the failure and leaves the previous file byte for byte.
#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/mount.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <random>

// ---- every operator new of this test program is counted ----------------------

namespace {
std::atomic<long long> g_nLiveBytes{0};
std::atomic<long long> g_nPeakBytes{0};

void* CountedAlloc(std::size_t nSize)
{
    void* p = std::malloc(nSize ? nSize : 1);
    if (!p)
        throw std::bad_alloc();
    const long long nLive = g_nLiveBytes += static_cast<long long>(malloc_usable_size(p));
    long long nPeak = g_nPeakBytes.load();
    while (nLive > nPeak && !g_nPeakBytes.compare_exchange_weak(nPeak, nLive)) {
    }
    return p;
}

void CountedFree(void* p) noexcept
{
    if (!p)
        return;
    g_nLiveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
} // namespace

void* operator new(std::size_t nSize)
{
    return CountedAlloc(nSize);
}
void* operator new[](std::size_t nSize)
{
    return CountedAlloc(nSize);
}
void operator delete(void* p) noexcept
{
    CountedFree(p);
}
void operator delete[](void* p) noexcept
{
    CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    CountedFree(p);
}

namespace hpa {
namespace {

constexpr long long kMaxExtraBytes = 64ll << 20;

class CNoQuestions : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return {}; }
    QString GetSaveFileName(const QString&) override { return {}; }
};

class DocFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        // No view: the document's own open and save paths are what is tested.
        CAccDocumentContent content{{&m_grids[0], &m_grids[1], &m_grids[2]}, &m_acc};
        m_doc = std::make_unique<CVexAccDoc>(content, m_messages, m_ui);
        m_doc->NewDocument();
    }

    // A document like a download leaves: all three grids filled.
    static std::string ValidDocument(const std::string& strTag = "x")
    {
        CUGCtrl grids[3];
        CAcc acc;
        const int nColumns[3] = {7, 2, 2};
        for (int g = 0; g < 3; ++g) {
            grids[g].SetColumnCount(nColumns[g]);
            grids[g].SetRowCount(3);
            for (int r = -1; r < 3; ++r)
                for (int c = -1; c < nColumns[g]; ++c)
                    grids[g].SetCellText(c, r, strTag + std::to_string(g * 100 + r * 10 + c));
        }
        acc.m_strHost = "printer";
        acc.m_nJobs = 3;
        return StoreAccDocument({{&grids[0], &grids[1], &grids[2]}, &acc});
    }

    QString Path(const char* pszName) const
    {
        return QString::fromStdString((m_dir.Path() / pszName).string());
    }

    // Opens bytes as a file; the open's result, its messages and how much
    // memory it took beyond what was in use before.
    OpenResult Open(const std::string& strBytes, long long* pnExtra = nullptr)
    {
        m_dir.Write("doc.hpa", strBytes);
        m_messages.m_messages.clear();
        const long long nBase = g_nLiveBytes.load();
        g_nPeakBytes.store(nBase);
        const OpenResult result = m_doc->OpenDocumentFile(Path("doc.hpa"));
        if (pnExtra)
            *pnExtra = g_nPeakBytes.load() - nBase;
        // A document that opened is closed again, so the next open is not
        // "the open document again".
        if (result == OpenResult::Opened)
            m_doc->NewDocument();
        return result;
    }

    void ExpectRefused(const std::string& strBytes, const std::string& strWhat)
    {
        long long nExtra = 0;
        EXPECT_EQ(Open(strBytes, &nExtra), OpenResult::Failed) << strWhat;
        EXPECT_EQ(m_messages.Exclamations(), std::vector<std::string>{"Unexpected file format."})
            << strWhat;
        EXPECT_LT(nExtra, kMaxExtraBytes) << strWhat;
    }

    test::CTempDir m_dir;
    test::CRecordingMessages m_messages;
    CNoQuestions m_ui;
    CAcc m_acc;
    CUGCtrl m_grids[3];
    std::unique_ptr<CVexAccDoc> m_doc;
};

std::string Int32(std::int32_t n)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint32_t>(n) >> (8 * i)) & 0xFF);
    return s;
}

// ---- damaged documents -------------------------------------------------------

TEST_F(DocFaults, TheValidDocumentOpens)
{
    long long nExtra = 0;
    EXPECT_EQ(Open(ValidDocument(), &nExtra), OpenResult::Opened);
    EXPECT_TRUE(m_messages.m_messages.empty());
    // The counting of allocations sees the load (or the bound means nothing).
    EXPECT_GT(nExtra, 0);
}

TEST_F(DocFaults, TruncatedAtEveryByteOffset)
{
    const std::string strDoc = ValidDocument();
    for (std::size_t n = 0; n < strDoc.size(); ++n)
        ExpectRefused(strDoc.substr(0, n), "cut at " + std::to_string(n));
}

TEST_F(DocFaults, RandomBitFlipsOpenOrAreRefused)
{
    const std::string strDoc = ValidDocument();
    std::mt19937 rng(11);
    int nRefused = 0;
    for (int nRound = 0; nRound < 1500; ++nRound) {
        std::string strBytes = strDoc;
        for (unsigned n = 1 + rng() % 3; n > 0; --n)
            strBytes[rng() % strBytes.size()] ^= static_cast<char>(1u << (rng() % 8));
        long long nExtra = 0;
        const OpenResult result = Open(strBytes, &nExtra);
        SCOPED_TRACE("round " + std::to_string(nRound));
        EXPECT_LT(nExtra, kMaxExtraBytes);
        if (result == OpenResult::Failed) {
            ++nRefused;
            EXPECT_EQ(m_messages.Exclamations(),
                      std::vector<std::string>{"Unexpected file format."});
        } else {
            EXPECT_EQ(result, OpenResult::Opened);
            EXPECT_TRUE(m_messages.m_messages.empty());
        }
    }
    EXPECT_GT(nRefused, 100); // the flips did damage
}

TEST_F(DocFaults, CountsAndLengthsThatCannotFit)
{
    const std::string strEmptyGrid = Int32(0) + Int32(0) + std::string(1, '\0');
    const std::string strAccBlock = std::string(3, '\0') + std::string(7 * 4, '\0');
    const std::string strRest = strEmptyGrid + strEmptyGrid + strAccBlock;
    const std::string strPlenty(4096, '\0');
    const struct {
        const char* pszWhat;
        std::string strBytes;
    } kCases[] = {
        {"job columns -1", Int32(-1) + Int32(0) + strPlenty},
        {"job columns INT32_MAX", Int32(INT32_MAX) + Int32(0) + strPlenty},
        {"job columns 28", Int32(28) + Int32(0) + strPlenty},
        {"job rows -1", Int32(1) + Int32(-1) + strPlenty},
        {"job rows INT32_MAX", Int32(1) + Int32(INT32_MAX) + strPlenty},
        {"job rows INT32_MIN", Int32(0) + Int32(INT32_MIN) + strPlenty},
        {"rows x columns past 32 bits", Int32(27) + Int32(INT32_MAX) + strPlenty},
        {"paper columns INT32_MAX", strEmptyGrid + Int32(INT32_MAX) + Int32(1) + strPlenty},
        {"paper rows INT32_MAX", strEmptyGrid + Int32(2) + Int32(INT32_MAX) + strPlenty},
        {"status columns -1", strEmptyGrid + strEmptyGrid + Int32(-1) + Int32(0) + strPlenty},
        {"status rows a million, bytes for a thousand",
         strEmptyGrid + strEmptyGrid + Int32(0) + Int32(1000000) + std::string(1000, '\0')},
        {"corner text of length 0xFFFFFFFF",
         Int32(0) + Int32(0) + "\xFF\xFF\xFF" + Int32(-1) + strPlenty},
        {"corner text of length INT32_MAX",
         Int32(0) + Int32(0) + "\xFF\xFF\xFF" + Int32(INT32_MAX) + strPlenty},
        {"corner text of length 0xFFFE", Int32(0) + Int32(0) + "\xFF\xFE\xFF" + "abc"},
        {"host of length 0xFFFFFFFF",
         strEmptyGrid + strEmptyGrid + strEmptyGrid + "\xFF\xFF\xFF" + Int32(-1) + strPlenty},
        {"accounting block cut", strEmptyGrid + strRest.substr(0, strRest.size() - 1)},
    };
    for (const auto& c : kCases)
        ExpectRefused(c.strBytes, c.pszWhat);
    // The same layout with sane counts opens: the cases above fail for
    // their counts, not for the scaffolding around them.
    EXPECT_EQ(Open(strEmptyGrid + strRest), OpenResult::Opened);
}

// ---- saves that cannot succeed ----------------------------------------------

// A small tmpfs mounted on a folder for the test (needs root and mount
// rights; the test is skipped without them).
class CTinyTmpfs {
public:
    CTinyTmpfs(const std::filesystem::path& dir, const char* pszSize) : m_dir(dir)
    {
        std::filesystem::create_directories(dir);
        const std::string strOptions = std::string("size=") + pszSize + ",mode=0755";
        m_bMounted = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, strOptions.c_str()) == 0;
    }
    ~CTinyTmpfs()
    {
        if (m_bMounted)
            ::umount2(m_dir.c_str(), MNT_DETACH);
    }
    CTinyTmpfs(const CTinyTmpfs&) = delete;
    CTinyTmpfs& operator=(const CTinyTmpfs&) = delete;

    bool Mounted() const { return m_bMounted; }
    bool RemountReadOnly()
    {
        return ::mount("tmpfs", m_dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::filesystem::path m_dir;
    bool m_bMounted = false;
};

class SaveFaults : public DocFaults {
protected:
    // Data on show, modified, much larger than the previous file.
    void ShowDownload()
    {
        for (int g = 0; g < 3; ++g) {
            CUGCtrl& grid = m_grids[g];
            grid.SetColumnCount(2);
            grid.SetRowCount(40);
            for (int r = 0; r < 40; ++r)
                grid.SetCellText(0, r, std::string(200, static_cast<char>('a' + g)));
        }
        m_doc->SetModifiedFlag(true);
    }

    void ExpectSaveFailsAndKeeps(const std::filesystem::path& target, const std::string& strOld)
    {
        ShowDownload();
        m_messages.m_messages.clear();
        EXPECT_FALSE(m_doc->DoSave(QString::fromStdString(target.string())));
        ASSERT_EQ(m_messages.Exclamations().size(), 1u);
        EXPECT_NE(m_messages.Exclamations()[0].find(target.filename().string()), std::string::npos)
            << m_messages.Exclamations()[0];
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_EQ(test::CTempDir::Read(target), strOld);
    }
};

TEST_F(SaveFaults, OntoAFullDevice)
{
    CTinyTmpfs fs(m_dir.Path() / "full", "64k");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    const std::filesystem::path target = m_dir.Path() / "full" / "keep.hpa";
    const std::string strOld = ValidDocument("previous");
    std::ofstream(target, std::ios::binary) << strOld;
    {
        // Fill every block that is left.
        std::ofstream filler(m_dir.Path() / "full" / "filler", std::ios::binary);
        const std::string strBlock(4096, 'f');
        for (int n = 0; n < 64 && filler.write(strBlock.data(), strBlock.size()); ++n) {
        }
    }
    ExpectSaveFailsAndKeeps(target, strOld);
    // No temporary file was left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path() / "full"),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(SaveFaults, IntoAReadOnlyFileSystem)
{
    CTinyTmpfs fs(m_dir.Path() / "ro", "1m");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    const std::filesystem::path target = m_dir.Path() / "ro" / "keep.hpa";
    const std::string strOld = ValidDocument("previous");
    std::ofstream(target, std::ios::binary) << strOld;
    ASSERT_TRUE(fs.RemountReadOnly()) << std::strerror(errno);
    ExpectSaveFailsAndKeeps(target, strOld);
}

TEST_F(SaveFaults, BelowARegularFile)
{
    const std::string strOld = "not a folder";
    m_dir.Write("plain", strOld);
    ShowDownload();
    EXPECT_FALSE(m_doc->DoSave(Path("plain/keep.hpa")));
    EXPECT_EQ(m_messages.Exclamations().size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(test::CTempDir::Read(m_dir.Path() / "plain"), strOld);
}

} // namespace
} // namespace hpa
