#include "SimLog.h"

#include <cstdio>
#include <string>

namespace hpa::sim {

namespace {
constexpr std::size_t kMaxShown = 200;
}

void CSimLog::Line(int nSession, const char* pszWhat, std::string_view strText)
{
    if (!m_bEnabled)
        return;
    std::string strOut = "[" + std::to_string(nSession) + "] " + pszWhat + " ";
    std::size_t nShown = 0;
    for (char ch : strText) {
        if (nShown++ == kMaxShown) {
            strOut += "... (" + std::to_string(strText.size()) + " bytes)";
            break;
        }
        unsigned char uch = static_cast<unsigned char>(ch);
        if (uch < 0x20 || uch == 0x7f) {
            char szEsc[8];
            std::snprintf(szEsc, sizeof szEsc, "\\x%02x", uch);
            strOut += szEsc;
        } else {
            strOut += ch;
        }
    }
    strOut += '\n';
    std::lock_guard lock(m_mutex);
    std::fwrite(strOut.data(), 1, strOut.size(), stderr);
    std::fflush(stderr);
}

} // namespace hpa::sim
