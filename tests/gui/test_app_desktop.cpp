// Desktop integration as `cmake --install` leaves it: the programs, the
// desktop entry, the MIME type of *.hpa with its icon, the man page; and the
// program's own --help and --version.
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace hpa {

namespace {

QString RunProgram(const QString& strProgram, const QStringList& args, int* pnExit = nullptr)
{
    QProcess process;
    process.start(strProgram, args);
    if (!process.waitForFinished(120000))
        return {};
    if (pnExit)
        *pnExit = process.exitCode();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

std::map<QString, QString> DesktopEntry(const std::filesystem::path& path)
{
    std::map<QString, QString> keys;
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    QTextStream in(&file);
    bool bInEntry = false;
    while (!in.atEnd()) {
        const QString strLine = in.readLine().trimmed();
        if (strLine.startsWith('['))
            bInEntry = strLine == "[Desktop Entry]";
        else if (bInEntry && strLine.contains('='))
            keys[strLine.section('=', 0, 0)] = strLine.section('=', 1);
    }
    return keys;
}

} // namespace

TEST(DesktopIntegration, InstallPutsProgramsEntryMimeTypeIconsAndManPage)
{
    test::CTempDir prefix;
    int nExit = -1;
    RunProgram(
        "cmake",
        {"--install", HPA_BIN_DIR, "--prefix", QString::fromStdString(prefix.Path().string())},
        &nExit);
    ASSERT_EQ(nExit, 0);
    const auto& p = prefix.Path();
    for (const char* pszFile :
         {"bin/hpa", "bin/hpactl", "bin/hpa-printer-sim", "share/applications/hpa.desktop",
          "share/mime/packages/hpa.xml", "share/icons/hicolor/48x48/apps/hpa.png",
          "share/icons/hicolor/256x256/apps/hpa.png",
          "share/icons/hicolor/48x48/mimetypes/application-x-hpa.png",
          "share/man/man1/hpactl.1.gz"})
        EXPECT_TRUE(std::filesystem::exists(p / pszFile)) << pszFile;

    auto entry = DesktopEntry(p / "share/applications/hpa.desktop");
    EXPECT_EQ(entry["Type"], "Application");
    EXPECT_EQ(entry["Name"], "HPA");
    EXPECT_EQ(entry["Exec"], "hpa %f");
    EXPECT_EQ(entry["Icon"], "hpa");
    EXPECT_EQ(entry["MimeType"], "application/x-hpa;");

    QFile xml(QString::fromStdString((p / "share/mime/packages/hpa.xml").string()));
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString strXml = QString::fromUtf8(xml.readAll());
    EXPECT_TRUE(strXml.contains(R"(<mime-type type="application/x-hpa">)"));
    EXPECT_TRUE(strXml.contains(R"(<glob pattern="*.hpa"/>)"));
    EXPECT_TRUE(strXml.contains(R"(<icon name="application-x-hpa"/>)"));

    // Where shared-mime-info is installed, the live install registered the
    // type for *.hpa.
    if (std::filesystem::exists(p / "share/mime/globs2")) {
        QFile globs(QString::fromStdString((p / "share/mime/globs2").string()));
        ASSERT_TRUE(globs.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(globs.readAll()).contains("application/x-hpa:*.hpa"));
    }
}

TEST(DesktopIntegration, HelpAndVersionTellTheTruth)
{
    int nExit = -1;
    const QString strVersion = RunProgram(HPA_BIN_DIR "/hpa", {"--version"}, &nExit);
    EXPECT_EQ(nExit, 0);
    EXPECT_EQ(strVersion, "hpa 1.1.0\n");
    const QString strHelp = RunProgram(HPA_BIN_DIR "/hpa", {"--help"}, &nExit);
    EXPECT_EQ(nExit, 0);
    for (const char* pszOption : {"--print", "--nosplash", "--help", "--version", "FILE.hpa"})
        EXPECT_TRUE(strHelp.contains(pszOption)) << pszOption;
    // Answered without a display.
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(env);
    process.start(HPA_BIN_DIR "/hpa", {"--help"});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
}

} // namespace hpa
