#include "save.h"

#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"
#include "grid/qt/QtGridDC.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace hpactl {

namespace {

// The grid font of the desktop on a 96 dots-per-inch screen.
constexpr int kScreenDpi = 96;

int g_nArgc = 1;
char g_szArg0[] = "hpactl";
char* g_apszArgv[] = {g_szArg0, nullptr};

// Qt's own notes (a missing runtime directory, font fallbacks) are not
// hpactl's messages: its standard error carries only what the user must see.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& strText)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "hpactl: %s\n", qPrintable(strText));
}

} // namespace

CDesktopMeasuring::CDesktopMeasuring(const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& grids)
{
    if (!QCoreApplication::instance()) {
        // Fonts only: never a window, so never a display.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        m_pfnOldHandler = qInstallMessageHandler(QuietQtMessages);
        m_pApp = std::make_unique<QGuiApplication>(g_nArgc, g_apszArgv);
    }
    const hpa::CGridFont font{"Arial", -(9 * kScreenDpi) / 72, 400, false, false};
    for (hpa::CUGCtrl* pGrid : grids) {
        if (!pGrid)
            continue;
        pGrid->SetGridFont(font);
        pGrid->SetMeasureDCFactory([] { return std::make_unique<hpa::CQtGridDC>(); });
    }
}

CDesktopMeasuring::~CDesktopMeasuring()
{
    if (m_pApp) {
        m_pApp.reset();
        qInstallMessageHandler(m_pfnOldHandler);
    }
}

bool SaveDocument(const std::string& strPath, hpa::CAcc& acc,
                  const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& grids)
{
    const std::string strBytes = hpa::StoreAccDocument({grids, &acc});
    const std::filesystem::path target(strPath);
    std::string strTemp =
        (target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path()) /
        (target.filename().string() + ".XXXXXX");
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0) {
        std::fprintf(stderr, "Failed to save document. (%s: %s)\n", strPath.c_str(),
                     std::strerror(errno));
        return false;
    }
    // A document is not secret, but it is not executable either: the mode
    // a plain new file would get.
    const mode_t nMask = ::umask(0);
    ::umask(nMask);
    ::fchmod(fd, 0666 & ~nMask);
    std::size_t nDone = 0;
    while (nDone < strBytes.size()) {
        const ssize_t n = ::write(fd, strBytes.data() + nDone, strBytes.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        nDone += static_cast<std::size_t>(n);
    }
    const int nWriteErrno = nDone == strBytes.size() ? 0 : (errno ? errno : EIO);
    const bool bClosed = ::close(fd) == 0;
    if (nWriteErrno != 0 || !bClosed || std::rename(strTemp.c_str(), strPath.c_str()) != 0) {
        const int nErr = nWriteErrno ? nWriteErrno : errno;
        ::unlink(strTemp.c_str());
        std::fprintf(stderr, "Failed to save document. (%s: %s)\n", strPath.c_str(),
                     std::strerror(nErr));
        return false;
    }
    return true;
}

} // namespace hpactl
