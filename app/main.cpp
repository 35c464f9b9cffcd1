// hpa: the desktop program.
#include "app/CommandLineInfo.h"
#include "app/VexAccApp.h"
#include "hpa_version.h"
#include "platform/HugePageHeap.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(hpa::CommandLineUsage(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("hpa %s\n", HPA_VERSION_STRING);
            return 0;
        }
    }

    hpa::RestartWithHugePageHeap(argv);
    QApplication app(argc, argv); // takes Qt's own options (-platform, -style ...) out
    QApplication::setApplicationName(QStringLiteral("HPA"));
    QApplication::setOrganizationName(QStringLiteral("HPA"));
    QApplication::setApplicationVersion(QStringLiteral(HPA_VERSION_STRING));
    QApplication::setDesktopFileName(QStringLiteral("hpa"));

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    hpa::CCommandLineInfo cmdInfo;
    cmdInfo.Parse(args);
    for (const std::string& strLine : cmdInfo.Warnings())
        std::fprintf(stderr, "%s\n", strLine.c_str());

    hpa::CVexAccApp theApp;
    if (!theApp.InitInstance(cmdInfo))
        return theApp.ExitCode();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/hpa/icons/hpa-48.png")));
    return QApplication::exec();
}
