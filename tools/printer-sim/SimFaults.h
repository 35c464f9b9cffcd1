#pragma once
// The quirks and faults the simulated printer can be told to show.
//
// Each one is switched on by "--fault NAME[=ARG][@TARGET]". ARG is a number
// (a byte count, a reply code, milliseconds …). TARGET says where the fault
// applies: for reply faults a command verb ("USER", "RETR" …), "greeting" or
// "*" for every reply; for transfer faults a file, by its remote name
// ("SYS:/admin/acc.pap") or its name in the served directory ("acc.pap"),
// or "*" for every file. The table in SimFaults.cpp lists them all with
// their defaults; --help prints it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hpa::sim {

// Where a fault applies.
enum class EFaultScope {
    none,     // whole session, no target
    reply,    // a reply: "greeting", a command verb or "*"
    transfer, // a file retrieval: a file name or "*"
};

struct SFaultInfo {
    const char* m_pszName;
    EFaultScope m_scope;
    bool m_bTakesArg;
    long m_nDefaultArg;
    long m_nMinArg;
    long m_nMaxArg;
    const char* m_pszDefaultTarget; // nullptr when the scope is none
    const char* m_pszArgName;       // for the help text
    const char* m_pszHelp;
};

struct SFault {
    const SFaultInfo* m_pInfo = nullptr;
    long m_nArg = 0;
    std::string m_strTarget;
};

// The table of every known fault, ending with an entry whose name is null.
const SFaultInfo* FaultTable();

// Parses one "--fault" argument. Returns false with a message on error.
bool ParseFault(std::string_view strSpec, SFault& fault, std::string& strError);

// The help text block listing the faults.
std::string FaultHelp();

class CSimFaults {
public:
    void Add(SFault fault) { m_faults.push_back(std::move(fault)); }
    bool Empty() const { return m_faults.empty(); }

    // The fault of this name that applies everywhere in the session.
    const SFault* Find(std::string_view strName) const;
    // The fault of this name whose reply target matches: the verb given
    // upper-cased, "greeting", or any reply when the target is "*".
    const SFault* FindForReply(std::string_view strName, std::string_view strVerb) const;
    // The fault of this name whose file target matches the remote name or
    // the local file name.
    const SFault* FindForFile(std::string_view strName, std::string_view strRemote,
                              std::string_view strLocal) const;

    const std::vector<SFault>& All() const { return m_faults; }

private:
    std::vector<SFault> m_faults;
};

} // namespace hpa::sim
