#pragma once
// Reads a printer accounting file the way the readers need it: in text mode
// (CR LF and LF both end a line and read as one LF) and in pieces of a fixed
// maximum size, exactly like a fixed buffer filled line by line, but with
// large buffered reads underneath so that big job files go fast.
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

class CAccFileReader {
public:
    CAccFileReader() = default;
    ~CAccFileReader();
    CAccFileReader(const CAccFileReader&) = delete;
    CAccFileReader& operator=(const CAccFileReader&) = delete;

    // False when the file cannot be opened for reading.
    bool Open(const std::filesystem::path& path);
    void Close();

    // The next piece of at most nMaxChars characters: up to and including
    // the next line end, or nMaxChars characters of a longer line, whose
    // remainder the next call returns. A CR LF line end comes back as one
    // LF and counts as one character. False at the end of the file. The
    // view stays valid until the next call.
    bool ReadLine(std::size_t nMaxChars, std::string_view& line);

    // The next whole line without its line end; false at the end of the
    // file. Characters beyond nMaxKeep are read and dropped, so a line
    // without end cannot eat memory.
    bool ReadWholeLine(std::string& line, std::size_t nMaxKeep);

private:
    // Makes at least nWanted bytes available from m_nPos unless the file
    // ends first; returns the number available.
    std::size_t Fill(std::size_t nWanted);

    std::FILE* m_pFile = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_nPos = 0;
    std::size_t m_nEnd = 0;
    bool m_bEof = false;
};

// The part of a line that C string functions would see: up to the first
// NUL byte. The printer's lines should hold none; when one does, the text
// after it is ignored like any string end.
std::string_view UpToNul(std::string_view line);

} // namespace hpa
