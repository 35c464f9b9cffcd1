#pragma once
// The accounting document: gives the data on show (the three grids and the
// accounting set, which live elsewhere) a path, a title and a modified flag,
// empties it for File > New, and writes and reads .hpa files.
//
// Besides the document's own operations this class carries what a document
// framework would do around them: the save prompt before data is
// discarded, Save / Save As with the file dialog, the recent-file list,
// reporting of file errors, and restoring the modified flag after a failed
// open.
#include "document/AccDocumentFile.h"
#include "ui/CommandRouter.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace hpa {

class CDocumentUi;
class CMessages;
class CRecentFileList;
class CViewLink;

// Where a document stands (the view's data kind says whether data is shown).
enum class DocumentState { Empty, Downloaded, Loaded, Saved };

enum class OpenResult { Opened, Cancelled, Failed };

class CVexAccDoc : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kUnexpectedFormat = "Unexpected file format.";
    static constexpr const char* kFailedToSave = "Failed to save document.";
    static constexpr const char* kFailedToOpen = "Failed to open document.";

    CVexAccDoc(const CAccDocumentContent& content, CMessages& messages, CDocumentUi& ui,
               QObject* pParent = nullptr);

    void SetViewLink(CViewLink* pView) { m_pView = pView; }
    CViewLink* ViewLink() const { return m_pView; }
    void SetRecentFileList(CRecentFileList* pList) { m_pRecent = pList; }
    const CAccDocumentContent& Content() const { return m_content; }

    // ---- the document's operations ---------------------------------------
    // Empties the shown data; the framework part clears path and flag.
    bool OnNewDocument();
    // Loads a file in place of the data on show. A file that cannot be read
    // or is damaged changes nothing.
    bool OnOpenDocument(const QString& strPath);
    // Writes the data to a file; a failure leaves the file as it was.
    bool OnSaveDocument(const QString& strPath);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);

    QString GetPathName() const { return m_strPathName; }
    // "Untitled" or the file name.
    QString GetTitle() const { return m_strTitle; }
    void SetPathName(const QString& strPath, bool bAddToMRU = true);

    DocumentState State() const;

    // ---- what the framework does around them -------------------------------
    // "Save changes to %1?" when modified; false when the user cancelled or
    // the save failed, so nothing may be discarded.
    bool SaveModified();
    // File > New (after the save prompt).
    bool NewDocument();
    // File > Open and the recent-file list (after the save prompt). A path
    // equal to the open document's does nothing. Cancelled: the user kept
    // the document at the save prompt; Failed: the file did not load.
    OpenResult OpenDocumentFile(const QString& strPath);
    // Save to strPath, or ask for a name when it is empty (Save As).
    bool DoSave(const QString& strPath, bool bReplace = true);
    // Save: to the document's path, or as Save As when it has none.
    bool DoFileSave();

    // The document's commands: Save (57603) and Save As (57604).
    const CCommandMap& CommandMap() const { return m_commands; }

signals:
    void titleChanged(const QString& strTitle);
    void recentFilesChanged();

private:
    void ClearGrids();
    void ReportFileError(const QString& strPath, int nFileError, bool bSaving);
    enum class LoadOutcome { Loaded, Untouched, Emptied };
    LoadOutcome OpenIntoView(const QString& strPath);
    bool ReadDocumentFile(const QString& strPath, QByteArray& bytes);

    CAccDocumentContent m_content;
    CMessages& m_messages;
    CDocumentUi& m_ui;
    CViewLink* m_pView = nullptr;
    CRecentFileList* m_pRecent = nullptr;
    CCommandMap m_commands;
    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
    bool m_bSavedHere = false; // saved since the data came in
};

} // namespace hpa
