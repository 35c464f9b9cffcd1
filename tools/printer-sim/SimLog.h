#pragma once
// The --verbose transcript on stderr: one line per command, reply or event,
// tagged with the session number. Control characters are escaped and long
// lines cut, so the log stays readable whatever a client or fault sends.
#include <mutex>
#include <string_view>

namespace hpa::sim {

class CSimLog {
public:
    explicit CSimLog(bool bEnabled) : m_bEnabled(bEnabled) {}
    bool Enabled() const { return m_bEnabled; }
    // pszWhat: "C" for a command, "S" for a reply line, "*" for an event.
    void Line(int nSession, const char* pszWhat, std::string_view strText);

private:
    bool m_bEnabled;
    std::mutex m_mutex;
};

} // namespace hpa::sim
