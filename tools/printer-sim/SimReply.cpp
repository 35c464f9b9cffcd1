// Sending replies, with the reply faults applied to the reply they target.
#include "SimSession.h"

#include <cstdio>

namespace hpa::sim {

bool CSimSession::Reply(int nCode, std::string_view strText)
{
    char szCode[8];
    std::snprintf(szCode, sizeof szCode, "%03d ", nCode % 1000);
    return ReplyLines({std::string(szCode) + std::string(strText)});
}

bool CSimSession::ReplyLines(const std::vector<std::string>& lines)
{
    const CSimFaults& faults = m_opts.m_faults;
    const std::string& strTarget = m_strReplyTarget;
    if (const SFault* pSlow = faults.FindForReply("slow-reply", strTarget)) {
        if (!SleepMs(static_cast<int>(pSlow->m_nArg), m_stop))
            return false;
    }
    const char* pszEol = faults.Find("bare-lf") ? "\n" : "\r\n";
    std::vector<std::string> out;
    if (faults.FindForReply("empty-reply", strTarget)) {
        out.emplace_back();
    } else {
        if (const SFault* pLong = faults.FindForReply("long-line", strTarget)) {
            // "CODE-" and filler up to the length asked for; the lines that
            // follow still end the reply properly.
            std::string strLong = lines.front().substr(0, 3) + "-";
            std::size_t nLen = static_cast<std::size_t>(pLong->m_nArg);
            const std::string strFill = "This line is long on purpose. ";
            while (strLong.size() < nLen)
                strLong += strFill;
            strLong.resize(nLen);
            out.push_back(std::move(strLong));
        }
        out.insert(out.end(), lines.begin(), lines.end());
        if (faults.FindForReply("nul-reply", strTarget)) {
            std::string& strLast = out.back();
            std::size_t nAt = strLast.size() < 4 ? strLast.size() : 4;
            strLast.insert(nAt, std::string("\0\0", 2));
            strLast.insert(strLast.size() / 2, 1, '\0');
        }
    }
    std::string strBytes;
    for (const std::string& strLine : out) {
        m_log.Line(m_nId, "S", strLine);
        strBytes += strLine;
        strBytes += pszEol;
    }
    const SFault* pBytewise = faults.FindForReply("bytewise", strTarget);
    return SendRaw(strBytes, pBytewise ? static_cast<int>(pBytewise->m_nArg) : -1);
}

bool CSimSession::SendRaw(std::string_view strBytes, int nBytewiseMs)
{
    if (nBytewiseMs < 0)
        return SendAll(m_nCtrlFd, strBytes.data(), strBytes.size(), m_opts.m_nIdleTimeoutMs,
                       m_stop);
    for (std::size_t i = 0; i < strBytes.size(); ++i) {
        if (i > 0 && nBytewiseMs > 0 && !SleepMs(nBytewiseMs, m_stop))
            return false;
        if (!SendAll(m_nCtrlFd, strBytes.data() + i, 1, m_opts.m_nIdleTimeoutMs, m_stop))
            return false;
    }
    return true;
}

} // namespace hpa::sim
