#pragma once
// The archive stream of .hpa documents: 32-bit little-endian integers and
// length-prefixed byte strings, no header, no terminators.
//
// Storing appends to a byte buffer that the caller writes out in one go (so a
// failed write never leaves half a document behind). Loading reads from a
// byte range and is bounded by what remains: a length or count that cannot
// fit throws CArchiveException instead of allocating from it.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hpa {

class CArchiveException : public std::runtime_error {
public:
    enum Cause { endOfFile, badFormat };
    CArchiveException(Cause cause, const char* what) : std::runtime_error(what), m_cause(cause) {}
    Cause m_cause;
};

class CArchive {
public:
    // An archive that stores into strOut (appending).
    explicit CArchive(std::string& strOut);
    // An archive that loads from the bytes [pData, pData + nSize).
    CArchive(const char* pData, std::size_t nSize);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_pOut != nullptr; }
    bool IsLoading() const { return m_pOut == nullptr; }

    void WriteInt32(std::int32_t nValue);
    std::int32_t ReadInt32();

    // One byte of length below 255; else 0xFF + 16-bit length below 0xFFFE;
    // else 0xFF, 0xFFFF and a 32-bit length. Then the bytes.
    void WriteString(std::string_view str);
    std::string ReadString();

    void WriteBytes(const void* pData, std::size_t nSize);
    void ReadBytes(void* pData, std::size_t nSize);

    // Bytes not yet read (loading only).
    std::size_t Remaining() const { return m_nSize - m_nPos; }
    // Throws badFormat unless at least nCount items of nMinBytes each could
    // still follow. Loaders call this before sizing anything from a count.
    void RequireRoomFor(std::uint64_t nCount, std::size_t nMinBytes) const;

    CArchive& operator<<(std::int32_t nValue)
    {
        WriteInt32(nValue);
        return *this;
    }
    CArchive& operator<<(std::string_view str)
    {
        WriteString(str);
        return *this;
    }
    CArchive& operator>>(std::int32_t& nValue)
    {
        nValue = ReadInt32();
        return *this;
    }
    CArchive& operator>>(std::string& str)
    {
        str = ReadString();
        return *this;
    }

private:
    std::string* m_pOut = nullptr;
    const char* m_pData = nullptr;
    std::size_t m_nSize = 0;
    std::size_t m_nPos = 0;
};

} // namespace hpa
