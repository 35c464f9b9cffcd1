#pragma once
// What the download session needs from whoever shows it: the desktop's
// progress dialog, hpactl's terminal line, or a test's recorder. All calls
// come from the thread that runs the session (the user interface thread).
#include <cstdint>
#include <string>

namespace hpa {

class CTransferProgress {
public:
    virtual ~CTransferProgress() = default;

    // The login succeeded and the transfers begin (the desktop creates its
    // progress dialog here).
    virtual void Begin() {}
    // The message line: which file is being received.
    virtual void SetMessage(const std::string& strText) = 0;
    // The bar's position in percent; only for files fetched against an
    // expected total (paper and job files).
    virtual void SetPos(int nPercent) = 0;
    // Called between the waits for a transfer thread: dispatch pending user
    // interface messages and run idle processing.
    virtual void Pump() = 0;
    // The cancel flag, neither cleared nor pumped.
    virtual bool IsCancelled() = 0;
    // Pumps, then returns the cancel flag and clears it.
    virtual bool CheckCancel() = 0;
    // Puts the wait cursor back (after the bar moved, after each file).
    virtual void RestoreWaitCursor() {}

    // A file transfer starts: its name on the printer and the local path.
    virtual void BeginFile(const std::string& strRemoteName, const std::string& strLocalPath)
    {
        (void)strRemoteName;
        (void)strLocalPath;
    }
    // Each poll during a transfer: the bytes of this file so far and of the
    // whole download so far.
    virtual void ShowBytes(std::int64_t nFileBytes, std::int64_t nDownloadBytes)
    {
        (void)nFileBytes;
        (void)nDownloadBytes;
    }
};

} // namespace hpa
