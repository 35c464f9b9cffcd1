#pragma once
// What the end-to-end tests need to run a command line through the shell:
// a word quoted for it, and what a run gave back.
#include <string>

namespace hpa::test {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The word in single quotes, its own single quotes escaped.
inline std::string Quoted(const std::string& str)
{
    std::string q = "'";
    for (char ch : str)
        q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

} // namespace hpa::test
