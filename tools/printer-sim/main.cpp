// hpa-printer-sim: a simulated accounting printer for demos and tests.
#include "hpa_version.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintHelp()
{
    std::printf("Usage: hpa-printer-sim [OPTIONS]\n"
                "Simulated network printer that serves accounting files over FTP.\n\n"
                "  --help       show this help and exit\n"
                "  --version    show the version and exit\n\n"
                "The FTP server and the data generator are not built yet.\n");
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
            std::printf("hpa-printer-sim %s\n", HPA_VERSION_STRING);
            return 0;
        }
    }
    PrintHelp();
    return 2;
}
