#include "accounting/AccFileReader.h"

#include <algorithm>
#include <cstring>

namespace hpa {

namespace {
constexpr std::size_t kChunk = 1 << 20;
}

CAccFileReader::~CAccFileReader()
{
    Close();
}

bool CAccFileReader::Open(const std::filesystem::path& path)
{
    Close();
    m_pFile = std::fopen(path.c_str(), "rb");
    if (!m_pFile)
        return false;
    // Directories open on Linux but cannot be read; treat them like a file
    // that is not there.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        Close();
        return false;
    }
    m_buffer.resize(kChunk);
    m_nPos = m_nEnd = 0;
    m_bEof = false;
    return true;
}

void CAccFileReader::Close()
{
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
}

std::size_t CAccFileReader::Fill(std::size_t nWanted)
{
    std::size_t nAvail = m_nEnd - m_nPos;
    if (nAvail >= nWanted || m_bEof || !m_pFile)
        return nAvail;
    if (m_nPos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_nPos, nAvail);
        m_nPos = 0;
        m_nEnd = nAvail;
    }
    if (m_buffer.size() < nWanted)
        m_buffer.resize(nWanted);
    while (m_nEnd < nWanted && !m_bEof) {
        std::size_t nRead =
            std::fread(m_buffer.data() + m_nEnd, 1, m_buffer.size() - m_nEnd, m_pFile);
        if (nRead == 0)
            m_bEof = true;
        m_nEnd += nRead;
    }
    return m_nEnd - m_nPos;
}

bool CAccFileReader::ReadLine(std::size_t nMaxChars, std::string_view& line)
{
    if (nMaxChars == 0)
        return false;
    // One byte more than the limit: a CR LF whose LF lies just past it still
    // reads as a single line end inside the limit.
    const std::size_t nAvail = Fill(nMaxChars + 1);
    if (nAvail == 0)
        return false;
    char* pStart = m_buffer.data() + m_nPos;
    const std::size_t nWindow = nAvail < nMaxChars + 1 ? nAvail : nMaxChars + 1;
    const char* pLf = static_cast<const char*>(std::memchr(pStart, '\n', nWindow));
    if (pLf) {
        std::size_t nRaw = static_cast<std::size_t>(pLf - pStart) + 1; // LF included
        if (nRaw >= 2 && pStart[nRaw - 2] == '\r') {
            // CR LF: the line end is one LF, written over the CR.
            pStart[nRaw - 2] = '\n';
            line = std::string_view(pStart, nRaw - 1);
            m_nPos += nRaw;
            return true;
        }
        if (nRaw <= nMaxChars) {
            line = std::string_view(pStart, nRaw);
            m_nPos += nRaw;
            return true;
        }
    }
    // No line end within the limit: a piece of a longer line (or the last
    // line of the file, which has no line end).
    const std::size_t nTake = nAvail < nMaxChars ? nAvail : nMaxChars;
    line = std::string_view(pStart, nTake);
    m_nPos += nTake;
    return true;
}

bool CAccFileReader::ReadWholeLine(std::string& line, std::size_t nMaxKeep)
{
    line.clear();
    bool bAny = false;
    bool bCrBeforeEnd = false;
    std::size_t nRawLength = 0;
    for (;;) {
        const std::size_t nAvail = Fill(1);
        if (nAvail == 0)
            return bAny;
        bAny = true;
        const char* pStart = m_buffer.data() + m_nPos;
        const char* pLf = static_cast<const char*>(std::memchr(pStart, '\n', nAvail));
        const std::size_t nPiece = pLf ? static_cast<std::size_t>(pLf - pStart) : nAvail;
        if (nPiece > 0)
            bCrBeforeEnd = pStart[nPiece - 1] == '\r';
        nRawLength += nPiece;
        if (line.size() < nMaxKeep)
            line.append(pStart, std::min(nPiece, nMaxKeep - line.size()));
        if (!pLf) {
            m_nPos += nAvail;
            continue;
        }
        m_nPos += nPiece + 1;
        // Text mode: the CR of a CR LF belongs to the line end.
        if (bCrBeforeEnd && nRawLength <= nMaxKeep)
            line.pop_back();
        return true;
    }
}

std::string_view UpToNul(std::string_view line)
{
    const void* pNul = std::memchr(line.data(), '\0', line.size());
    if (!pNul)
        return line;
    return line.substr(0, static_cast<std::size_t>(static_cast<const char*>(pNul) - line.data()));
}

} // namespace hpa
