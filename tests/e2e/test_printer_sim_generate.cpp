// The simulator's data generator and the committed sample sets: the status
// values agree with the files, records and index lines fit together, lines
// stay within what the printer's readers take, and a seed fixes the output.
#include "support/TempDir.h"
#include "test_printer_sim_harness.h"

#include <gtest/gtest.h>

#include <map>

namespace hpa::test::sim {
namespace {

using Pairs = std::map<int, std::string>;

std::vector<std::string> Lines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::size_t nPos = 0;
    while (nPos < strText.size()) {
        std::size_t nLf = strText.find('\n', nPos);
        if (nLf == std::string::npos)
            nLf = strText.size();
        std::string strLine = strText.substr(nPos, nLf - nPos);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        lines.push_back(strLine);
        nPos = nLf + 1;
    }
    return lines;
}

// "N:value, N:{braced, value}, ..." into field number → value (braces kept).
Pairs ParsePairs(const std::string& strLine)
{
    Pairs pairs;
    std::size_t nPos = 0;
    while (nPos < strLine.size()) {
        std::size_t nColon = strLine.find(':', nPos);
        if (nColon == std::string::npos)
            break;
        int nField = std::atoi(strLine.substr(nPos, nColon - nPos).c_str());
        std::size_t nEnd =
            strLine[nColon + 1] == '{' ? strLine.find('}', nColon) + 1 : strLine.find(',', nColon);
        if (nEnd == std::string::npos || nEnd == 0)
            nEnd = strLine.size();
        pairs[nField] = strLine.substr(nColon + 1, nEnd - nColon - 1);
        nPos = nEnd;
        while (nPos < strLine.size() && (strLine[nPos] == ',' || strLine[nPos] == ' '))
            ++nPos;
    }
    return pairs;
}

long Num(const Pairs& pairs, int nField)
{
    auto it = pairs.find(nField);
    return it == pairs.end() ? -1 : std::atol(it->second.c_str());
}

// Checks one accounting set in a directory against its own status file.
void CheckConsistentSet(const std::filesystem::path& dir, bool bInk)
{
    std::vector<std::string> sta = Lines(ReadFile(dir / "acc.sta"));
    ASSERT_EQ(sta.size(), 1u);
    EXPECT_LT(sta[0].size(), 254u);
    Pairs status = ParsePairs(sta[0]);
    for (int nField = 28; nField <= 44; ++nField)
        EXPECT_EQ(status.count(nField), 1u) << "status field " << nField;
    EXPECT_EQ(status.size(), 17u);

    std::vector<std::string> dic = Lines(ReadFile(dir / "acc.dic"));
    int nIdLines = 0;
    for (const std::string& strLine : dic)
        if (strLine.rfind("id", 0) == 0) {
            EXPECT_NE(strLine.find("acc_"), std::string::npos) << strLine;
            ++nIdLines;
        }
    EXPECT_EQ(nIdLines, 50);

    std::vector<std::string> pap = Lines(ReadFile(dir / "acc.pap"));
    EXPECT_EQ(static_cast<long>(pap.size()), Num(status, 29));
    for (const std::string& strLine : pap) {
        EXPECT_LT(strLine.size(), 253u);
        EXPECT_EQ(ParsePairs(strLine).size(), 6u) << strLine;
    }

    const long nFiles = Num(status, 34);
    EXPECT_EQ(Num(status, 35), nFiles);
    EXPECT_EQ(Num(status, 37), nFiles > 1 ? 2 : 1);
    long nRecords = 0;
    long long nBytes = 0;
    std::string strLastFile;
    for (long f = 1; f <= nFiles; ++f) {
        strLastFile = ReadFile(dir / ("acc" + std::to_string(f) + ".job"));
        nBytes += static_cast<long long>(strLastFile.size());
        std::vector<std::string> job = Lines(strLastFile);
        for (std::size_t i = 0; i < job.size();) {
            SCOPED_TRACE(job[i]);
            EXPECT_LT(job[i].size(), 397u);
            Pairs rec = ParsePairs(job[i]);
            for (int nField :
                 {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 45})
                EXPECT_EQ(rec.count(nField), 1u) << "job field " << nField;
            for (int nField = 46; nField <= 49; ++nField)
                EXPECT_EQ(rec.count(nField), bInk ? 1u : 0u) << "job field " << nField;
            // Braced values are followed by ", " so the next pair decodes.
            for (std::size_t n = job[i].find('}'); n != std::string::npos;
                 n = job[i].find('}', n + 1))
                EXPECT_TRUE(n + 1 == job[i].size() || job[i].compare(n, 3, "}, ") == 0);
            long k = Num(rec, 19);
            long nSheets = 0;
            ASSERT_LE(i + 1 + static_cast<std::size_t>(k), job.size());
            for (long j = 1; j <= k; ++j) {
                Pairs idx = ParsePairs(job[i + static_cast<std::size_t>(j)]);
                ASSERT_EQ(idx.size(), 2u);
                nSheets += Num(idx, 20);
                EXPECT_GE(Num(idx, 21), 1);
                EXPECT_LE(Num(idx, 21), Num(status, 29));
            }
            EXPECT_EQ(nSheets, Num(rec, 14) + Num(rec, 15));
            ++nRecords;
            i += 1 + static_cast<std::size_t>(k);
        }
    }
    EXPECT_EQ(nRecords, Num(status, 36));
    EXPECT_EQ(nBytes, Num(status, 32));
    EXPECT_EQ(static_cast<long>(strLastFile.size()), Num(status, 33));
    EXPECT_GT(Num(status, 30), Num(status, 32));
    EXPECT_EQ(Num(status, 30), Num(status, 31) * nFiles);
    EXPECT_FALSE(std::filesystem::exists(dir / ("acc" + std::to_string(nFiles + 1) + ".job")));
}

TEST(PrinterSimGenerate, SingleFileSetIsConsistent)
{
    CTempDir tmp;
    std::string strOut;
    ASSERT_EQ(RunSim({"--generate", tmp.Path().string(), "--jobs", "300", "--paper-types", "5",
                      "--seed", "9"},
                     &strOut),
              0);
    EXPECT_NE(strOut.find("generated 300 jobs"), std::string::npos) << strOut;
    CheckConsistentSet(tmp.Path(), true);
    EXPECT_EQ(ParsePairs(ReadFile(tmp.Path() / "acc.sta"))[28], "2");
}

TEST(PrinterSimGenerate, MultifileVersion1SetIsConsistent)
{
    CTempDir tmp;
    // A stale job file of an earlier, bigger set must not survive.
    tmp.Write("acc4.job", "0:1\n");
    ASSERT_EQ(RunSim({"--generate", tmp.Path().string(), "--jobs", "100", "--job-files", "3",
                      "--paper-types", "2", "--format-version", "1", "--crlf"}),
              0);
    CheckConsistentSet(tmp.Path(), false);
    Pairs status = ParsePairs(Lines(ReadFile(tmp.Path() / "acc.sta"))[0]);
    EXPECT_EQ(status[28], "1");
    EXPECT_EQ(status[34], "3");
    EXPECT_NE(ReadFile(tmp.Path() / "acc2.job").find("\r\n"), std::string::npos);
}

TEST(PrinterSimGenerate, EmptySetHasAnEmptyJobFile)
{
    CTempDir tmp;
    ASSERT_EQ(RunSim({"--generate", tmp.Path().string(), "--jobs", "0"}), 0);
    CheckConsistentSet(tmp.Path(), true);
    EXPECT_EQ(ReadFile(tmp.Path() / "acc1.job"), "");
}

TEST(PrinterSimGenerate, SameSeedSameBytesOtherSeedOtherBytes)
{
    CTempDir a, b, c;
    ASSERT_EQ(RunSim({"--generate", a.Path().string(), "--jobs", "500", "--seed", "42"}), 0);
    ASSERT_EQ(RunSim({"--generate", b.Path().string(), "--jobs", "500", "--seed", "42"}), 0);
    ASSERT_EQ(RunSim({"--generate", c.Path().string(), "--jobs", "500", "--seed", "43"}), 0);
    for (const char* pszName : {"acc.sta", "acc.dic", "acc.pap", "acc1.job"})
        EXPECT_EQ(ReadFile(a.Path() / pszName), ReadFile(b.Path() / pszName)) << pszName;
    EXPECT_NE(ReadFile(a.Path() / "acc1.job"), ReadFile(c.Path() / "acc1.job"));
}

TEST(PrinterSimGenerate, MixedOrderListsTheSameJobsInOrdersOfTheirOwn)
{
    CTempDir ordered, mixed;
    ASSERT_EQ(RunSim({"--generate", ordered.Path().string(), "--jobs", "200", "--seed", "5"}), 0);
    ASSERT_EQ(RunSim({"--generate", mixed.Path().string(), "--jobs", "200", "--seed", "5",
                      "--mixed-order"}),
              0);
    CheckConsistentSet(mixed.Path(), true);
    const std::vector<std::string> a = Lines(ReadFile(ordered.Path() / "acc1.job"));
    const std::vector<std::string> b = Lines(ReadFile(mixed.Path() / "acc1.job"));
    ASSERT_EQ(a.size(), b.size());
    std::size_t nReordered = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(ParsePairs(a[i]), ParsePairs(b[i])) << b[i];
        nReordered += a[i] != b[i];
    }
    EXPECT_GT(nReordered, 150u); // the record lines, not the index lines
}

TEST(PrinterSimGenerate, CommittedSamplesAreConsistent)
{
    {
        SCOPED_TRACE("printer");
        CheckConsistentSet(SourceDir() + "/samples/printer", true);
    }
    {
        SCOPED_TRACE("printer-multi");
        CheckConsistentSet(SourceDir() + "/samples/printer-multi", true);
    }
}

TEST(PrinterSimGenerate, GeneratedSetIsServed)
{
    CTempDir tmp;
    ASSERT_EQ(RunSim({"--generate", tmp.Path().string(), "--jobs", "2000", "--job-files", "2"}), 0);
    CSimProcess sim;
    ASSERT_TRUE(sim.Start({"--root", tmp.Path().string()}));
    CFtpTestClient client;
    ASSERT_TRUE(client.Connect(sim.Port()));
    ASSERT_TRUE(client.Login());
    SRetrieval r = Retrieve(client, "SYS:/admin/acc2.job");
    EXPECT_EQ(r.m_nFinalCode, 226);
    EXPECT_EQ(r.m_strData, ReadFile(tmp.Path() / "acc2.job"));
}

} // namespace
} // namespace hpa::test::sim
