#include "platform/Archive.h"

#include <cstring>

namespace hpa {

CArchive::CArchive(std::string& strOut) : m_pOut(&strOut) {}

CArchive::CArchive(const char* pData, std::size_t nSize) : m_pData(pData), m_nSize(nSize) {}

void CArchive::WriteBytes(const void* pData, std::size_t nSize)
{
    if (!m_pOut)
        throw CArchiveException(CArchiveException::badFormat, "write to a loading archive");
    m_pOut->append(static_cast<const char*>(pData), nSize);
}

void CArchive::ReadBytes(void* pData, std::size_t nSize)
{
    if (m_pOut)
        throw CArchiveException(CArchiveException::badFormat, "read from a storing archive");
    if (nSize > Remaining())
        throw CArchiveException(CArchiveException::endOfFile, "archive ends early");
    if (nSize)
        std::memcpy(pData, m_pData + m_nPos, nSize);
    m_nPos += nSize;
}

void CArchive::WriteInt32(std::int32_t nValue)
{
    auto u = static_cast<std::uint32_t>(nValue);
    unsigned char bytes[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                              static_cast<unsigned char>(u >> 16),
                              static_cast<unsigned char>(u >> 24)};
    WriteBytes(bytes, 4);
}

std::int32_t CArchive::ReadInt32()
{
    unsigned char b[4];
    ReadBytes(b, 4);
    std::uint32_t u = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                      (static_cast<std::uint32_t>(b[2]) << 16) |
                      (static_cast<std::uint32_t>(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

void CArchive::WriteString(std::string_view str)
{
    const std::size_t n = str.size();
    if (n > 0xFFFFFFFFu)
        throw CArchiveException(CArchiveException::badFormat, "string too long for the archive");
    unsigned char prefix[7];
    std::size_t nPrefix = 0;
    if (n < 0xFF) {
        prefix[nPrefix++] = static_cast<unsigned char>(n);
    } else if (n < 0xFFFE) {
        prefix[nPrefix++] = 0xFF;
        prefix[nPrefix++] = static_cast<unsigned char>(n);
        prefix[nPrefix++] = static_cast<unsigned char>(n >> 8);
    } else {
        prefix[nPrefix++] = 0xFF;
        prefix[nPrefix++] = 0xFF;
        prefix[nPrefix++] = 0xFF;
        for (int shift = 0; shift < 32; shift += 8)
            prefix[nPrefix++] = static_cast<unsigned char>(n >> shift);
    }
    WriteBytes(prefix, nPrefix);
    WriteBytes(str.data(), n);
}

std::string CArchive::ReadString()
{
    unsigned char b1;
    ReadBytes(&b1, 1);
    std::uint32_t n = b1;
    if (b1 == 0xFF) {
        unsigned char b2[2];
        ReadBytes(b2, 2);
        n = b2[0] | (static_cast<std::uint32_t>(b2[1]) << 8);
        if (n == 0xFFFF) {
            unsigned char b4[4];
            ReadBytes(b4, 4);
            n = b4[0] | (static_cast<std::uint32_t>(b4[1]) << 8) |
                (static_cast<std::uint32_t>(b4[2]) << 16) |
                (static_cast<std::uint32_t>(b4[3]) << 24);
        }
    }
    if (n > Remaining())
        throw CArchiveException(CArchiveException::endOfFile, "string runs past the archive end");
    std::string str(m_pData + m_nPos, n);
    m_nPos += n;
    return str;
}

void CArchive::RequireRoomFor(std::uint64_t nCount, std::size_t nMinBytes) const
{
    if (nMinBytes && nCount > Remaining() / nMinBytes)
        throw CArchiveException(CArchiveException::badFormat, "count cannot fit in the archive");
}

} // namespace hpa
