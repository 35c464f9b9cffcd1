#pragma once
// File > Add to history...: the jobs of the document on show stored in the
// fleet history as one collection of a printer the user names, so that
// downloads saved before the history existed are kept with the rest. The
// time of the collection is now (UTC); the status values are those the
// document's status grid shows. Adding the same document again adds no job.
#include "document/AccDocumentFile.h"

#include <QString>

#include <functional>

class QWidget;

namespace hpa {

class CAccViewBase;
class CCommandMap;
class CMessages;
class CProfile;
struct CFieldMasks;

struct CAddToHistoryContext {
    QWidget* m_pParent = nullptr;          // of the dialog
    CAccDocumentContent m_content;         // the grids on show and the accounting set
    const CFieldMasks* m_pMasks = nullptr; // the masks the grids were filled under
    CMessages* m_pMessages = nullptr;      // the outcome, good or bad
    CProfile* m_pProfile = nullptr;        // the database choice (read, and kept)
    // Asks for the printer's name and the database, both filled in with a
    // proposal; false when the user cancelled. Unset: the dialog.
    std::function<bool(QString& strPrinter, QString& strDatabase)> m_fnAsk;
};

// Runs the command; true when the document's jobs were stored.
bool OnAddToHistory(const CAddToHistoryContext& context);

// Routes Add to history to OnAddToHistory for the program's view as fnView
// finds it (its document, g_masks, the application's profile and
// messages); enabled while the view shows data.
void AddAddToHistoryCommand(CCommandMap& map, std::function<CAccViewBase*()> fnView);

} // namespace hpa
