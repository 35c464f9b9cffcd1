#pragma once
// Running a command line through the shell the way the end-to-end tests do:
// a word quoted for it, what a run gave back, and hpactl from the build tree
// with no display and a settings folder of the caller's.
#include <filesystem>
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

// The folder of the built programs: $HPA_BIN_DIR, else the configured one.
std::filesystem::path BinDir();

// Runs strCommand through the shell in dir, with no display, no platform
// plugin and no history database chosen, XDG_CONFIG_HOME set to config and
// stdin from /dev/null.
// stdout and stderr are caught in a folder of the runner's own, so a dir
// that cannot be written (or is listed afterwards) is not disturbed.
RunResult RunHeadless(const std::filesystem::path& dir, const std::filesystem::path& config,
                      const std::string& strCommand);

// hpactl of the build tree with the arguments (already quoted where needed),
// run as RunHeadless runs a command.
RunResult RunHpactl(const std::filesystem::path& dir, const std::filesystem::path& config,
                    const std::string& strArgs);

} // namespace hpa::test
