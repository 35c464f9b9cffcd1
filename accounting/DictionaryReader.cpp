// The dictionary file: the field names, one per line of the name block.
#include "accounting/Acc.h"

#include "accounting/AccFileReader.h"
#include "accounting/AccText.h"

namespace hpa {

namespace {

// A dictionary line longer than this keeps only its first part; real names
// are a few dozen characters.
constexpr std::size_t kMaxDictionaryLine = 64 * 1024;

bool StartsWithId(const std::string& strLine)
{
    return strLine.size() >= 2 && strLine[0] == 'i' && strLine[1] == 'd';
}

char ToUpperAscii(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

} // namespace

// The name after "acc_", made readable: first character upper case, every
// "_" a blank with the character after it upper case and passed over.
std::string RewordFieldName(std::string_view strRaw)
{
    std::string strName(strRaw);
    if (strName.empty())
        return strName;
    strName[0] = ToUpperAscii(strName[0]);
    for (std::size_t n = 1; n < strName.size(); ++n) {
        if (strName[n] != '_')
            continue;
        strName[n] = ' ';
        if (n + 1 < strName.size()) {
            strName[n + 1] = ToUpperAscii(strName[n + 1]);
            ++n;
        }
    }
    return strName;
}

int CAcc::ReadDictionaryFile()
{
    CAccFileReader file;
    if (!file.Open(WorkFile(kDictionaryFileName))) {
        Report(kMsgErrorDictionary);
        return 0;
    }
    std::string strLine;
    bool bHaveLine = file.ReadWholeLine(strLine, kMaxDictionaryLine);
    while (bHaveLine && !StartsWithId(strLine))
        bHaveLine = file.ReadWholeLine(strLine, kMaxDictionaryLine);

    for (int n = 0; bHaveLine && StartsWithId(strLine) && n < kFieldCount; ++n) {
        // A line without "acc_" still names its field, with an empty name,
        // so the lines after it keep their field numbers.
        const std::size_t nAcc = strLine.find("acc_");
        const std::string_view strRaw = nAcc == std::string::npos
                                            ? std::string_view()
                                            : std::string_view(strLine).substr(nAcc + 4);
        m_strFieldName[static_cast<std::size_t>(n)] = RewordFieldName(strRaw);
        bHaveLine = file.ReadWholeLine(strLine, kMaxDictionaryLine);
    }
    return 1;
}

} // namespace hpa
