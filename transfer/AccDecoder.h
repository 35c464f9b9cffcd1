#pragma once
// The download session's decoder backed by an accounting set: the readers of
// CAcc, bound by the caller to the download's working directory, its grids,
// masks and message sink.
#include "transfer/AccountingDecoder.h"

namespace hpa {

class CAcc;

class CAccDecoder : public CAccountingDecoder {
public:
    explicit CAccDecoder(CAcc& acc) : m_acc(acc) {}

    void SetDownloadInfo(const std::string& strHost, const std::string& strDate,
                         const std::string& strTime) override;
    bool ReadStatusFile() override;
    std::string StatusValue(int nField) const override;
    bool ReadDictionaryFile() override;
    void FillStatusGrid() override;
    bool ReadPaperFile() override;
    bool ReadJobFile() override;

private:
    CAcc& m_acc;
};

} // namespace hpa
