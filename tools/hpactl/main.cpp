// hpactl: the headless tool for unattended collection and conversion.
#include "hpa_version.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintHelp()
{
    std::printf("Usage: hpactl COMMAND [OPTIONS]\n"
                "Headless companion of the Halyard Printer Auditor.\n\n"
                "Options:\n"
                "  --help       show this help and exit\n"
                "  --version    show the version and exit\n\n"
                "No commands are available in this build yet.\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintHelp();
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintHelp();
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("hpactl %s\n", HPA_VERSION_STRING);
        return 0;
    }
    std::fprintf(stderr, "hpactl: unknown command '%s'\n", argv[1]);
    return 2;
}
