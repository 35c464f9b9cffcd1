#include "SimFaults.h"

#include <cctype>
#include <charconv>

namespace hpa::sim {

namespace {

constexpr long kMaxMs = 600000;
constexpr long kMaxBytes = 0x7fffffffL;

// clang-format off
const SFaultInfo g_faultTable[] = {
    {"no-greeting", EFaultScope::none, false, 0, 0, 0, nullptr, nullptr,
     "never send the greeting; wait for the client to give up"},
    {"greeting-code", EFaultScope::none, true, 120, 100, 599, nullptr, "CODE",
     "greet with CODE instead of 220 (421 also closes the session)"},
    {"multiline-greeting", EFaultScope::none, true, 3, 2, 1000, nullptr, "N",
     "greet with a reply of N lines: 220-... then 220 ..."},
    {"multiline-trap", EFaultScope::none, false, 0, 0, 0, nullptr, nullptr,
     "multi-line greeting with a \"230 \" line inside it that does not end it"},
    {"bytewise", EFaultScope::reply, true, 5, 0, kMaxMs, "greeting", "MS",
     "send the reply one byte at a time, MS ms apart"},
    {"slow-reply", EFaultScope::reply, true, 1000, 0, kMaxMs, "*", "MS",
     "wait MS ms before sending the reply"},
    {"nul-reply", EFaultScope::reply, false, 0, 0, 0, "greeting", nullptr,
     "put NUL bytes into the reply text"},
    {"long-line", EFaultScope::reply, true, 100000, 8, 10000000, "greeting", "N",
     "put a line of N characters into the reply (CODE-xxx... then CODE text)"},
    {"empty-reply", EFaultScope::reply, false, 0, 0, 0, "greeting", nullptr,
     "send an empty line (bare CR LF) instead of the reply"},
    {"bare-lf", EFaultScope::none, false, 0, 0, 0, nullptr, nullptr,
     "end reply lines with LF only"},
    {"user-230", EFaultScope::none, false, 0, 0, 0, nullptr, nullptr,
     "log in straight after USER (230) when the user name is right"},
    {"pass-300", EFaultScope::none, false, 0, 0, 0, nullptr, nullptr,
     "answer a right PASS with 300 and ask for ACCT"},
    {"refuse-user", EFaultScope::none, true, 530, 100, 599, nullptr, "CODE",
     "answer USER with CODE"},
    {"refuse-pass", EFaultScope::none, true, 530, 100, 599, nullptr, "CODE",
     "answer PASS with CODE"},
    {"refuse-acct", EFaultScope::none, true, 530, 100, 599, nullptr, "CODE",
     "answer ACCT with CODE"},
    {"refuse-type", EFaultScope::none, true, 504, 100, 599, nullptr, "CODE",
     "answer TYPE with CODE"},
    {"close-421", EFaultScope::none, true, 3, 0, 1000000, nullptr, "N",
     "after N commands, answer the next one with 421 and close the session"},
    {"port-connect", EFaultScope::none, false, 0, 0, 0, nullptr, nullptr,
     "open the data connection while answering PORT/EPRT, keep it after a 550"},
    {"refuse-file", EFaultScope::transfer, true, 550, 100, 599, "*", "CODE",
     "refuse RETR of the file with CODE and open no data connection"},
    {"no-data-connection", EFaultScope::transfer, false, 0, 0, 0, "*", nullptr,
     "answer RETR with 150 but never open the data connection"},
    {"stall", EFaultScope::transfer, true, 0, 0, kMaxBytes, "*", "N",
     "stop sending after N bytes and keep the data connection open"},
    {"drop", EFaultScope::transfer, true, 0, 0, kMaxBytes, "*", "N",
     "reset the data connection after N bytes"},
    {"size-lie", EFaultScope::transfer, true, 1048576, 0, kMaxBytes, "*", "N",
     "announce N bytes in the 150 reply and to SIZE, send the real file"},
    {nullptr, EFaultScope::none, false, 0, 0, 0, nullptr, nullptr, nullptr},
};
// clang-format on

const SFaultInfo* LookUp(std::string_view strName)
{
    for (const SFaultInfo* p = g_faultTable; p->m_pszName; ++p)
        if (strName == p->m_pszName)
            return p;
    return nullptr;
}

std::string Upper(std::string_view str)
{
    std::string out(str);
    for (char& ch : out)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return out;
}

} // namespace

const SFaultInfo* FaultTable()
{
    return g_faultTable;
}

bool ParseFault(std::string_view strSpec, SFault& fault, std::string& strError)
{
    std::string_view strTarget;
    bool bHasTarget = false;
    if (std::size_t nAt = strSpec.find('@'); nAt != std::string_view::npos) {
        strTarget = strSpec.substr(nAt + 1);
        strSpec = strSpec.substr(0, nAt);
        bHasTarget = true;
    }
    std::string_view strArg;
    bool bHasArg = false;
    if (std::size_t nEq = strSpec.find('='); nEq != std::string_view::npos) {
        strArg = strSpec.substr(nEq + 1);
        strSpec = strSpec.substr(0, nEq);
        bHasArg = true;
    }
    const SFaultInfo* pInfo = LookUp(strSpec);
    if (!pInfo) {
        strError = "unknown fault '" + std::string(strSpec) + "' (see --help)";
        return false;
    }
    fault = SFault{pInfo, pInfo->m_nDefaultArg, {}};
    if (bHasArg) {
        if (!pInfo->m_bTakesArg) {
            strError = "fault '" + std::string(strSpec) + "' takes no argument";
            return false;
        }
        long nValue = 0;
        auto [pEnd, ec] = std::from_chars(strArg.data(), strArg.data() + strArg.size(), nValue);
        if (strArg.empty() || ec != std::errc() || pEnd != strArg.data() + strArg.size() ||
            nValue < pInfo->m_nMinArg || nValue > pInfo->m_nMaxArg) {
            strError = "fault '" + std::string(strSpec) + "': argument must be a number from " +
                       std::to_string(pInfo->m_nMinArg) + " to " + std::to_string(pInfo->m_nMaxArg);
            return false;
        }
        fault.m_nArg = nValue;
    }
    if (bHasTarget) {
        if (pInfo->m_scope == EFaultScope::none) {
            strError = "fault '" + std::string(strSpec) + "' takes no @target";
            return false;
        }
        if (strTarget.empty()) {
            strError = "fault '" + std::string(strSpec) + "': empty @target";
            return false;
        }
        fault.m_strTarget = std::string(strTarget);
    } else if (pInfo->m_pszDefaultTarget) {
        fault.m_strTarget = pInfo->m_pszDefaultTarget;
    }
    // Reply targets are verbs, compared upper-cased, or "greeting".
    if (pInfo->m_scope == EFaultScope::reply) {
        fault.m_strTarget = Upper(fault.m_strTarget);
        if (fault.m_strTarget == "GREETING")
            fault.m_strTarget = "greeting";
    }
    return true;
}

std::string FaultHelp()
{
    std::string strHelp;
    for (const SFaultInfo* p = g_faultTable; p->m_pszName; ++p) {
        std::string strLeft = std::string("  ") + p->m_pszName;
        if (p->m_bTakesArg)
            strLeft += std::string("[=") + p->m_pszArgName + "]";
        if (p->m_scope == EFaultScope::reply)
            strLeft += "[@VERB]";
        else if (p->m_scope == EFaultScope::transfer)
            strLeft += "[@FILE]";
        strHelp += strLeft;
        strHelp += strLeft.size() < 34 ? std::string(34 - strLeft.size(), ' ')
                                       : "\n" + std::string(34, ' ');
        strHelp += p->m_pszHelp;
        std::string strDefaults;
        if (p->m_bTakesArg)
            strDefaults += std::string(p->m_pszArgName) + "=" + std::to_string(p->m_nDefaultArg);
        if (p->m_pszDefaultTarget)
            strDefaults +=
                std::string(strDefaults.empty() ? "" : ", ") + "@" + p->m_pszDefaultTarget;
        if (!strDefaults.empty())
            strHelp += "\n" + std::string(34, ' ') + "(default " + strDefaults + ")";
        strHelp += "\n";
    }
    return strHelp;
}

const SFault* CSimFaults::Find(std::string_view strName) const
{
    for (const SFault& f : m_faults)
        if (strName == f.m_pInfo->m_pszName)
            return &f;
    return nullptr;
}

const SFault* CSimFaults::FindForReply(std::string_view strName, std::string_view strVerb) const
{
    for (const SFault& f : m_faults)
        if (strName == f.m_pInfo->m_pszName && (f.m_strTarget == "*" || f.m_strTarget == strVerb))
            return &f;
    return nullptr;
}

const SFault* CSimFaults::FindForFile(std::string_view strName, std::string_view strRemote,
                                      std::string_view strLocal) const
{
    for (const SFault& f : m_faults)
        if (strName == f.m_pInfo->m_pszName &&
            (f.m_strTarget == "*" || f.m_strTarget == strRemote || f.m_strTarget == strLocal))
            return &f;
    return nullptr;
}

} // namespace hpa::sim
