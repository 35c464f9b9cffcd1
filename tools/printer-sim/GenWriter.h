#pragma once
// Building blocks of the data generator: a seeded random source whose
// sequence is the same on every platform, a line builder that formats
// without allocating, and a file writer with a large buffer.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace hpa::sim {

// splitmix64: tiny, fast and fully defined, so a seed gives the same data
// everywhere (the standard distributions are not portable between libraries).
class CRandom {
public:
    explicit CRandom(std::uint64_t nSeed) : m_nState(nSeed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (m_nState += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // A number from 0 to n-1 (n > 0).
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }
    // A number from nLow to nHigh inclusive.
    long Between(long nLow, long nHigh)
    {
        return nLow + static_cast<long>(Next() % static_cast<std::uint64_t>(nHigh - nLow + 1));
    }
    // True with a probability of nPerMille / 1000.
    bool Chance(std::uint32_t nPerMille) { return Below(1000) < nPerMille; }

private:
    std::uint64_t m_nState;
};

// One text line in a fixed buffer; text beyond the capacity is dropped, and
// Overflowed() tells so.
class CLine {
public:
    static constexpr std::size_t kCapacity = 1024;

    void Clear()
    {
        m_nLen = 0;
        m_bOverflow = false;
    }
    CLine& Add(std::string_view str);
    CLine& Add(char ch);
    CLine& AddInt(long long n);
    // "NN:" for a field number.
    CLine& Tag(int nField) { return AddInt(nField).Add(':'); }
    std::string_view View() const { return {m_buf, m_nLen}; }
    std::size_t Length() const { return m_nLen; }
    bool Overflowed() const { return m_bOverflow; }

private:
    char m_buf[kCapacity];
    std::size_t m_nLen = 0;
    bool m_bOverflow = false;
};

// Writes a file through a 1 MiB buffer and counts the bytes.
class CFileWriter {
public:
    CFileWriter() = default;
    ~CFileWriter();
    CFileWriter(const CFileWriter&) = delete;
    CFileWriter& operator=(const CFileWriter&) = delete;

    bool Open(const std::string& strPath);
    void Write(std::string_view str);
    // Writes the line and the line end.
    void WriteLine(std::string_view str, bool bCrlf);
    // Flushes and closes; false when any write failed.
    bool Close();
    std::uint64_t BytesWritten() const { return m_nBytes; }

private:
    void Flush();
    static constexpr std::size_t kBufSize = 1 << 20;
    std::FILE* m_pFile = nullptr;
    std::string m_strBuf;
    std::uint64_t m_nBytes = 0;
    bool m_bFailed = false;
};

} // namespace hpa::sim
