#pragma once
// Admin > Connect to Printer... on the desktop: the Connect dialog, the host
// history written to the profile, then the download session with the
// progress dialog, all on the user interface thread. The login blocks the
// window; the files come over transfer threads while the progress dialog
// keeps the window painting and Cancel working. Every path ends with the
// wait cursor gone and the progress dialog closed.
#include "transfer/DownloadSession.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

namespace hpa {

class CAcc;
class CAccViewBase;
class CCommandMap;
class CHostHistory;
class CMessages;
class CProfile;
class CVexAccDoc;
class CViewLink;

struct CConnectContext {
    // The view: parent of both dialogs; its main window refuses input
    // while the files come in.
    QWidget* m_pView = nullptr;
    // The accounting set the download decodes into, bound to the grids, the
    // masks and the readers' message sink.
    CAcc* m_pAcc = nullptr;
    // Where the command's own failures are shown.
    CMessages* m_pMessages = nullptr;
    // Where the host history is written before the login.
    CProfile* m_pProfile = nullptr;
    CHostHistory* m_pHostHistory = nullptr;
    // Directory of the working files; empty: the one the set's readers use.
    std::filesystem::path m_workDir;
    // After a download that filled the grids: mark the document modified
    // and show the Status grid with "STATUS" in the data-kind pane.
    std::function<void()> m_fnSucceeded;

    std::chrono::milliseconds m_pollInterval{500};
    int m_nTimeoutMs = CTcpSocket::kDefaultTimeoutMs;
};

// Runs the command. Nothing when the dialog was not left with OK;
// otherwise how the download ended.
std::optional<DownloadResult> OnConnect(const CConnectContext& context);

// The end of a download that filled the grids, for a view: the document
// (when there is one) is modified and the Status data kind is shown.
void ShowDownloadedData(CViewLink& view, CVexAccDoc* pDocument);

// Routes Connect to Printer (32771) to OnConnect for a view of the program:
// g_acc, g_hostHistory, and the application's profile and messages.
void AddConnectCommand(CCommandMap& map, CAccViewBase& view);

} // namespace hpa
