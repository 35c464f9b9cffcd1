#include "transfer/AccDecoder.h"

#include "accounting/Acc.h"

namespace hpa {

void CAccDecoder::SetDownloadInfo(const std::string& strHost, const std::string& strDate,
                                  const std::string& strTime)
{
    m_acc.m_strHost = strHost;
    m_acc.m_strDownloadDate = strDate;
    m_acc.m_strDownloadTime = strTime;
}

bool CAccDecoder::ReadStatusFile()
{
    return m_acc.ReadStatusFile() != 0;
}

std::string CAccDecoder::StatusValue(int nField) const
{
    if (nField < 0 || nField >= kFieldCount)
        return {};
    return m_acc.m_strFieldValue[static_cast<std::size_t>(nField)];
}

bool CAccDecoder::ReadDictionaryFile()
{
    return m_acc.ReadDictionaryFile() != 0;
}

void CAccDecoder::FillStatusGrid()
{
    m_acc.FillStatusGrid();
}

bool CAccDecoder::ReadPaperFile()
{
    return m_acc.ReadPaperFile() != 0;
}

bool CAccDecoder::ReadJobFile()
{
    return m_acc.ReadJobFile() != 0;
}

} // namespace hpa
