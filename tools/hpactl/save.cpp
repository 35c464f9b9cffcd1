#include "save.h"

#include "accounting/Acc.h"
#include "document/AccDocumentFile.h"
#include "grid/UGCtrl.h"
#include "grid/qt/QtGridDC.h"
#include "platform/ReplacingFile.h"
#include "view/qt/ViewGlobals.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    const hpa::CGridFont font = hpa::MakeScreenGridFont(kScreenDpi);
    for (hpa::CUGCtrl* pGrid : grids) {
        if (!pGrid)
            continue;
        pGrid->SetGridFont(font);
        hpa::SetAccGridDefaults(*pGrid);
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
    hpa::CReplacingFile file;
    if (!file.Open(strPath) || !file.Write(strBytes) || !file.Commit()) {
        std::fprintf(stderr, "Failed to save document. (%s: %s)\n", strPath.c_str(),
                     std::strerror(file.Errno() ? file.Errno() : EIO));
        return false;
    }
    return true;
}

} // namespace hpactl
