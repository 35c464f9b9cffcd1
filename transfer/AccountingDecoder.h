#pragma once
// The download session's view of the accounting readers. The session fetches
// files and decides; decoding them into the accounting set and the grids is
// the readers' work, reached through this interface so that the session runs
// the same in the desktop, in hpactl and in tests. A reader that fails has
// already told the user (through its own message sink).
#include <string>

namespace hpa {

class CAccountingDecoder {
public:
    virtual ~CAccountingDecoder() = default;

    // Host, date ("%m/%d/%Y") and time ("%H:%M:%S") of this download.
    virtual void SetDownloadInfo(const std::string& strHost, const std::string& strDate,
                                 const std::string& strTime) = 0;
    // Decodes "STA.tmp" right after it arrived; false when it cannot be read.
    virtual bool ReadStatusFile() = 0;
    // The stored value of a status field (28 to 44) as the status reader left it.
    virtual std::string StatusValue(int nField) const = 0;

    // The decoding after the connection is closed, called in this order.
    virtual bool ReadDictionaryFile() = 0;
    virtual void FillStatusGrid() = 0;
    virtual bool ReadPaperFile() = 0;
    virtual bool ReadJobFile() = 0;
};

} // namespace hpa
