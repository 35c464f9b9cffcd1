#include "support/ShellRun.h"

#include "support/TempDir.h"

#include <sys/wait.h>

#include <cstdlib>

namespace hpa::test {

namespace fs = std::filesystem;

fs::path BinDir()
{
    const char* pszDir = std::getenv("HPA_BIN_DIR");
    return pszDir ? pszDir : HPA_BIN_DIR;
}

RunResult RunHeadless(const fs::path& dir, const fs::path& config, const std::string& strCommand)
{
    const CTempDir caught;
    const fs::path out = caught.Path() / "stdout";
    const fs::path err = caught.Path() / "stderr";
    const std::string cmd = "cd " + Quoted(dir.string()) +
                            " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u HPA_DB"
                            " XDG_CONFIG_HOME=" +
                            Quoted(config.string()) + " " + strCommand + " >" +
                            Quoted(out.string()) + " 2>" + Quoted(err.string()) + " </dev/null";
    RunResult result;
    const int nRaw = std::system(cmd.c_str());
    result.status = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    result.out = CTempDir::Read(out);
    result.err = CTempDir::Read(err);
    return result;
}

RunResult RunHpactl(const fs::path& dir, const fs::path& config, const std::string& strArgs)
{
    return RunHeadless(dir, config, Quoted((BinDir() / "hpactl").string()) + " " + strArgs);
}

} // namespace hpa::test
