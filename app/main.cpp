// hpa: the desktop program.
#include "hpa_version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

void PrintHelp()
{
    std::printf("Usage: hpa [--nosplash] [FILE.hpa]\n"
                "Halyard Printer Auditor: download, show, print and export the job\n"
                "accounting kept by network printers.\n\n"
                "  --help       show this help and exit\n"
                "  --version    show the version and exit\n");
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("hpa %s\n", HPA_VERSION_STRING);
            return 0;
        }
    }
    QApplication app(argc, argv);
    std::fprintf(stderr, "hpa: the desktop window is not built yet\n");
    return 1;
}
