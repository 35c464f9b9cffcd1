#pragma once
// Where the program keeps files that are nobody else's business.
//
// The four working files of a download ("STA.tmp", "DIC.tmp", "PAP.tmp",
// "JOB.tmp") live in a private directory of the running program (mode 0700,
// made with mkdtemp under $XDG_RUNTIME_DIR or the temporary directory),
// not in whatever directory the program was started from. The names and the
// life cycle are unchanged: a download overwrites them, New and Open leave
// them, and they go away with the view.
#include <filesystem>
#include <string>
#include <string_view>

namespace hpa {

// $XDG_RUNTIME_DIR when it names a directory of ours that only we can enter,
// else the temporary directory ($TMPDIR or /tmp).
std::filesystem::path RuntimeBaseDir();

class CWorkingDir {
public:
    CWorkingDir() = default;
    ~CWorkingDir();
    CWorkingDir(const CWorkingDir&) = delete;
    CWorkingDir& operator=(const CWorkingDir&) = delete;

    // Makes the private directory below base (RuntimeBaseDir() when empty).
    // False when it cannot be made; Path() then stays empty. Calling it
    // again while the directory exists does nothing and returns true.
    bool Create(const std::filesystem::path& base = {});
    bool IsCreated() const { return !m_path.empty(); }
    const std::filesystem::path& Path() const { return m_path; }

    // The full name of a working file ("JOB.tmp"). Before Create, or after
    // it failed, the bare name: the current directory, as before.
    std::filesystem::path File(std::string_view strName) const;

    // Deletes the four working files; a file that cannot be deleted (for
    // instance because it does not exist) is ignored.
    void DeleteWorkingFiles() const;
    // Deletes the four files and the directory with whatever else is in it.
    void Remove();

private:
    std::filesystem::path m_path;
};

// The working directory of this process: made at start-up by the program,
// removed when the view is destroyed.
extern CWorkingDir g_workDir;

} // namespace hpa
