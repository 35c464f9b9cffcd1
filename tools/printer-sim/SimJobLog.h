#pragma once
// A job log that moves on between downloads, for trying collectors against
// a printer whose job file grows and wraps: every download but the first
// sees new jobs appended with consecutive Job IDs, and beyond a capacity the
// oldest jobs are gone, just as when a printer's job file is full.
//
// The served root is copied into a private directory first and only that
// copy changes, so a sample set or a user's directory is never touched. A
// download holds the log still from its first retrieval of the status file
// to the end of its session, so the status values and the job files it
// gets always belong together.
#include "GenJobs.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

namespace hpa::sim {

class CSimJobLog {
public:
    // nAdvance jobs per download; nCapacity 0 keeps every job.
    CSimJobLog(long nAdvance, long nCapacity, std::uint64_t nSeed);
    ~CSimJobLog();
    CSimJobLog(const CSimJobLog&) = delete;
    CSimJobLog& operator=(const CSimJobLog&) = delete;

    // Copies the served files of strRoot into a private directory and reads
    // the status and job files there. False with a message.
    bool Open(const std::filesystem::path& root, std::string& strError);
    // The private directory to serve.
    const std::filesystem::path& ServedRoot() const { return m_dir; }

    // Called at a session's first retrieval of the status file: moves the
    // log on (except for the very first download) and returns a lock that
    // keeps it unchanged while the session lasts. strEvent tells what changed
    // (empty when nothing did).
    std::shared_lock<std::shared_mutex> BeginDownload(std::string& strEvent);

private:
    struct SStatusPair {
        int m_nField;
        std::string m_strValue;
    };

    bool ReadStatus(std::string& strError);
    bool ReadJobs(std::string& strError);
    // Appends, drops and writes the files; a message on failure.
    std::string Advance();
    bool WriteFiles(std::string& strError);
    std::string StatusValue(int nField) const;
    void SetStatusValue(int nField, long long nValue);

    long m_nAdvance;
    long m_nCapacity;
    std::uint64_t m_nSeed;
    std::filesystem::path m_dir;
    std::shared_mutex m_mutex;
    bool m_bServedOnce = false;
    bool m_bCrlf = false;
    int m_nJobFiles = 1;
    std::vector<SStatusPair> m_status; // first line of acc.sta, in file order
    std::string m_strStatusRest;       // what follows the first line, unread by clients
    std::deque<std::string> m_records; // each a record line and its index lines
    std::uint64_t m_nRecordBytes = 0;
    std::uint64_t m_nBytesPerJob = 0; // estimate that sizes a bounded job file
    std::unique_ptr<CJobMaker> m_pMaker;
};

} // namespace hpa::sim
