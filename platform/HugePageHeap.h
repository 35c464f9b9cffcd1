#pragma once
// Big job logs fill hundreds of MiB with small cells. On 4 KiB pages,
// touching that memory (a page fault per page, then TLB misses on every
// walk through the rows) costs as much processor time as the decoding
// itself. glibc's malloc puts its heap on transparent huge pages when its
// tunable glibc.malloc.hugetlb=1 is set, but it reads tunables only from
// the environment at start, so a program that wants them restarts itself
// once with the tunable added.
#include <optional>
#include <string>
#include <string_view>

namespace hpa {

// The GLIBC_TUNABLES value to restart with, given the current one (null
// when unset); nothing when the heap tunable is there already.
std::optional<std::string> HugePageTunables(const char* pszCurrent);

// Restarts the running program (same process, same arguments) with the
// heap on huge pages, when glibc and the kernel offer them and no
// sanitizer replaces malloc. Returns only when it does not restart: on any
// failure the program simply goes on with the ordinary heap. Call first
// thing in main, before threads or open windows exist.
void RestartWithHugePageHeap(char** argv);

} // namespace hpa
