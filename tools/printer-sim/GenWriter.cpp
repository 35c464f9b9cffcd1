#include "GenWriter.h"

#include <charconv>
#include <cstring>

namespace hpa::sim {

CLine& CLine::Add(std::string_view str)
{
    std::size_t n = str.size();
    if (n > kCapacity - m_nLen) {
        n = kCapacity - m_nLen;
        m_bOverflow = true;
    }
    std::memcpy(m_buf + m_nLen, str.data(), n);
    m_nLen += n;
    return *this;
}

CLine& CLine::Add(char ch)
{
    if (m_nLen < kCapacity)
        m_buf[m_nLen++] = ch;
    else
        m_bOverflow = true;
    return *this;
}

CLine& CLine::AddInt(long long n)
{
    char sz[24];
    auto [pEnd, ec] = std::to_chars(sz, sz + sizeof sz, n);
    return Add(std::string_view(sz, static_cast<std::size_t>(pEnd - sz)));
}

CFileWriter::~CFileWriter()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

bool CFileWriter::Open(const std::string& strPath)
{
    m_pFile = std::fopen(strPath.c_str(), "wb");
    m_strBuf.reserve(kBufSize);
    m_nBytes = 0;
    m_bFailed = m_pFile == nullptr;
    return m_pFile != nullptr;
}

void CFileWriter::Write(std::string_view str)
{
    if (m_strBuf.size() + str.size() > kBufSize)
        Flush();
    m_strBuf.append(str);
    m_nBytes += str.size();
}

void CFileWriter::WriteLine(std::string_view str, bool bCrlf)
{
    Write(str);
    Write(bCrlf ? "\r\n" : "\n");
}

void CFileWriter::Flush()
{
    if (m_pFile && !m_strBuf.empty() &&
        std::fwrite(m_strBuf.data(), 1, m_strBuf.size(), m_pFile) != m_strBuf.size())
        m_bFailed = true;
    m_strBuf.clear();
}

bool CFileWriter::Close()
{
    Flush();
    if (m_pFile && std::fclose(m_pFile) != 0)
        m_bFailed = true;
    m_pFile = nullptr;
    return !m_bFailed;
}

} // namespace hpa::sim
