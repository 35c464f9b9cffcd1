#include "Generator.h"

#include "GenJobs.h"
#include "GenPools.h"
#include "GenWriter.h"

#include <algorithm>
#include <filesystem>

namespace hpa::sim {

namespace {

constexpr std::uint64_t kCapacityStep = 65536;
constexpr std::uint64_t kMaxStatusNumber = 0x7fffffff;

std::string PathIn(const std::string& strDir, const std::string& strName)
{
    return (std::filesystem::path(strDir) / strName).string();
}

bool WriteDictionary(const SGenerateOptions& opts, std::string& strError)
{
    CFileWriter out;
    if (!out.Open(PathIn(opts.m_strDir, "acc.dic"))) {
        strError = "cannot write acc.dic";
        return false;
    }
    // The lines around the name block are the kind a reader must skip.
    out.WriteLine("# accounting dictionary", opts.m_bCrlf);
    out.WriteLine("version " + std::to_string(opts.m_nFormatVersion), opts.m_bCrlf);
    CLine line;
    int nField = 0;
    for (const char* pszName : DictionaryNames()) {
        line.Clear();
        line.Add("id ").AddInt(nField++).Add(" acc_").Add(pszName);
        out.WriteLine(line.View(), opts.m_bCrlf);
    }
    out.WriteLine("end", opts.m_bCrlf);
    if (!out.Close()) {
        strError = "cannot write acc.dic";
        return false;
    }
    return true;
}

bool WritePaper(const SGenerateOptions& opts, std::string& strError)
{
    CFileWriter out;
    if (!out.Open(PathIn(opts.m_strDir, "acc.pap"))) {
        strError = "cannot write acc.pap";
        return false;
    }
    std::span<const SPaperType> pool = PaperPool();
    CLine line;
    for (int i = 0; i < opts.m_nPaperTypes; ++i) {
        const SPaperType& paper = pool[static_cast<std::size_t>(i) % pool.size()];
        line.Clear();
        line.Tag(22).AddInt(paper.m_nWidth).Add(", ");
        line.Tag(23).AddInt(paper.m_nHeight).Add(", ");
        line.Tag(24).AddInt(paper.m_nWeight).Add(", ");
        line.Tag(25).Add('{').Add(paper.m_pszColor).Add("}, ");
        line.Tag(26).Add('{').Add(paper.m_pszType).Add("}, ");
        line.Tag(27).Add('{').Add(paper.m_pszLabel);
        if (static_cast<std::size_t>(i) >= pool.size())
            line.Add(" #").AddInt(i + 1);
        line.Add('}');
        out.WriteLine(line.View(), opts.m_bCrlf);
    }
    if (!out.Close()) {
        strError = "cannot write acc.pap";
        return false;
    }
    return true;
}

bool WriteJobs(const SGenerateOptions& opts, SGeneratedSet& result, std::string& strError)
{
    CJobMaker maker(opts.m_nSeed, opts.m_nPaperTypes, opts.m_nFormatVersion >= 2,
                    opts.m_bMixedOrder);
    const long nFiles = opts.m_nJobFiles;
    for (long f = 0; f < nFiles; ++f) {
        std::string strName = "acc" + std::to_string(f + 1) + ".job";
        CFileWriter out;
        if (!out.Open(PathIn(opts.m_strDir, strName))) {
            strError = "cannot write " + strName;
            return false;
        }
        // Jobs spread evenly, the later files taking the remainder.
        long nFrom = static_cast<long>(static_cast<long long>(opts.m_nJobs) * f / nFiles);
        long nTo = static_cast<long>(static_cast<long long>(opts.m_nJobs) * (f + 1) / nFiles);
        for (long j = nFrom; j < nTo; ++j)
            maker.WriteJob(out, opts.m_bCrlf);
        if (!out.Close()) {
            strError = "cannot write " + strName;
            return false;
        }
        result.m_jobFileBytes.push_back(out.BytesWritten());
    }
    return true;
}

bool WriteStatus(const SGenerateOptions& opts, SGeneratedSet& result, std::string& strError)
{
    std::uint64_t nUsage = 0;
    for (std::uint64_t n : result.m_jobFileBytes)
        nUsage += n;
    std::uint64_t nLargest =
        *std::max_element(result.m_jobFileBytes.begin(), result.m_jobFileBytes.end());
    // Each job file has room for about a quarter more than the largest holds.
    std::uint64_t nCapacity =
        (nLargest + nLargest / 4) / kCapacityStep * kCapacityStep + kCapacityStep;
    result.m_nCapacityPerFile = nCapacity;
    std::uint64_t nTotal = std::min(nCapacity * result.m_jobFileBytes.size(), kMaxStatusNumber);
    const long long nFiles = opts.m_nJobFiles;
    const long long values[17] = {
        opts.m_nFormatVersion,
        opts.m_nPaperTypes,
        static_cast<long long>(nTotal),
        static_cast<long long>(std::min(nCapacity, kMaxStatusNumber)),
        static_cast<long long>(std::min(nUsage, kMaxStatusNumber)),
        static_cast<long long>(result.m_jobFileBytes.back()),
        nFiles,
        nFiles,
        opts.m_nJobs,
        nFiles > 1 ? 2 : 1,
        1,
        0,
        0,
        1,
        1,
        1,
        1,
    };
    CLine line;
    for (int i = 0; i < 17; ++i) {
        if (i > 0)
            line.Add(", ");
        line.Tag(28 + i).AddInt(values[i]);
    }
    CFileWriter out;
    if (!out.Open(PathIn(opts.m_strDir, "acc.sta"))) {
        strError = "cannot write acc.sta";
        return false;
    }
    out.WriteLine(line.View(), opts.m_bCrlf);
    if (!out.Close()) {
        strError = "cannot write acc.sta";
        return false;
    }
    return true;
}

// Removes accN.job files beyond the set just written, so that the directory
// serves one consistent set.
void RemoveStaleJobFiles(const SGenerateOptions& opts)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(opts.m_strDir, ec)) {
        std::string strName = entry.path().filename().string();
        if (strName.size() < 8 || !strName.starts_with("acc") || !strName.ends_with(".job"))
            continue;
        std::string strNumber = strName.substr(3, strName.size() - 7);
        if (strNumber.empty() || strNumber.size() > 6 ||
            strNumber.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (strNumber[0] != '0' && std::stol(strNumber) > opts.m_nJobFiles)
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace

bool GenerateAccountingSet(const SGenerateOptions& opts, SGeneratedSet& result,
                           std::string& strError)
{
    std::error_code ec;
    std::filesystem::create_directories(opts.m_strDir, ec);
    if (!std::filesystem::is_directory(opts.m_strDir, ec)) {
        strError = "cannot create directory " + opts.m_strDir;
        return false;
    }
    result = SGeneratedSet{};
    result.m_nJobs = opts.m_nJobs;
    result.m_nPaperTypes = opts.m_nPaperTypes;
    // The status file comes last: its values describe the job files written.
    RemoveStaleJobFiles(opts);
    return WriteDictionary(opts, strError) && WritePaper(opts, strError) &&
           WriteJobs(opts, result, strError) && WriteStatus(opts, result, strError);
}

} // namespace hpa::sim
