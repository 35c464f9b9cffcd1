#include "document/qt/VexAccDoc.h"

#include "accounting/FieldCatalogue.h"
#include "document/RecentFileList.h"
#include "document/qt/DocumentUi.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"
#include "platform/qt/BackgroundWork.h"
#include "ui/ViewLink.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <new>

namespace hpa {

namespace {

constexpr int kSaveCommand = 57603;
constexpr int kSaveAsCommand = 57604;

std::string Local8(const QString& str)
{
    return str.toLocal8Bit().toStdString();
}

} // namespace

CVexAccDoc::CVexAccDoc(const CAccDocumentContent& content, CMessages& messages, CDocumentUi& ui,
                       QObject* pParent)
    : QObject(pParent), m_content(content), m_messages(messages), m_ui(ui),
      m_strTitle(QStringLiteral("Untitled"))
{
    m_commands.On(kSaveCommand, [this] { DoFileSave(); });
    m_commands.On(kSaveAsCommand, [this] { DoSave(QString()); });
}

void CVexAccDoc::SetModifiedFlag(bool bModified)
{
    m_bModified = bModified;
    if (bModified)
        m_bSavedHere = false;
}

void CVexAccDoc::SetPathName(const QString& strPath, bool bAddToMRU)
{
    m_strPathName = QFileInfo(strPath).absoluteFilePath();
    m_strTitle = QFileInfo(strPath).fileName();
    emit titleChanged(m_strTitle);
    if (bAddToMRU && m_pRecent) {
        m_pRecent->Add(m_strPathName.toStdString());
        emit recentFilesChanged();
    }
}

DocumentState CVexAccDoc::State() const
{
    if (!m_pView || m_pView->CurrentKind() == 0)
        return DocumentState::Empty;
    if (m_bModified)
        return DocumentState::Downloaded;
    return m_bSavedHere ? DocumentState::Saved : DocumentState::Loaded;
}

// Deletes the stored cells of all three grids and puts each back at its
// first cell. Counts, widths and heading texts stay.
void CVexAccDoc::ClearGrids()
{
    for (CUGCtrl* pGrid : m_content.m_pGrids) {
        if (CGridStore* pStore = pGrid->GetStore(1))
            pStore->ClearAllCells();
        // A grid without rows or columns refuses these; it is at home anyway.
        (void)pGrid->MoveCurrentCell(0, 0);
        (void)pGrid->ScrollRows(kMoveFirst);
        (void)pGrid->ScrollColumns(kMoveFirst);
    }
}

bool CVexAccDoc::OnNewDocument()
{
    // The framework's part: a new document has no path and no changes.
    m_strPathName.clear();
    SetModifiedFlag(false);
    m_bSavedHere = false;

    if (m_pView && m_pView->CurrentKind() != 0) {
        const int nGrid = m_pView->CurrentGrid();
        if (nGrid >= 0) {
            m_pView->CloseFindDialog(nGrid);
            m_pView->ShowGrid(nGrid, false);
        }
        m_pView->SetDataKindPaneText(QString());
        ClearGrids();
    }
    if (m_pView)
        m_pView->SetCurrent(0, -1);
    return true;
}

bool CVexAccDoc::OnOpenDocument(const QString& strPath)
{
    return OpenIntoView(strPath) == LoadOutcome::Loaded;
}

// The file is read and checked whole before anything on show changes, so a
// file that cannot be read or is damaged leaves the document exactly as it
// was. Only a load that fails after the check (memory ran out) has already
// replaced part of the data; the document then becomes an empty untitled
// one, so nothing half loaded can be saved over the previous file.
CVexAccDoc::LoadOutcome CVexAccDoc::OpenIntoView(const QString& strPath)
{
    QByteArray bytes;
    if (!ReadDocumentFile(strPath, bytes))
        return LoadOutcome::Untouched;
    try {
        CheckAccDocument(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } catch (const CArchiveException&) {
        m_messages.Exclamation(kUnexpectedFormat);
        return LoadOutcome::Untouched;
    } catch (const std::bad_alloc&) {
        m_messages.Exclamation(kFailedToOpen);
        return LoadOutcome::Untouched;
    }

    if (m_pView && m_pView->CurrentKind() != 0) {
        const int nGrid = m_pView->CurrentGrid();
        if (nGrid >= 0) {
            m_pView->CloseFindDialog(nGrid);
            m_pView->ShowGrid(nGrid, false);
        }
        ClearGrids();
    }
    try {
        LoadAccDocument(bytes.constData(), static_cast<std::size_t>(bytes.size()), m_content);
    } catch (const std::exception& e) {
        m_messages.Exclamation(dynamic_cast<const CArchiveException*>(&e) ? kUnexpectedFormat
                                                                          : kFailedToOpen);
        m_strTitle = QStringLiteral("Untitled");
        emit titleChanged(m_strTitle);
        OnNewDocument();
        ClearGrids(); // also when nothing was shown before
        return LoadOutcome::Emptied;
    }
    SetModifiedFlag(false);
    m_bSavedHere = false;

    if (m_pView)
        m_pView->SetCurrent(kDataKindCommand[kKindStatus], kKindStatus);
    CUGCtrl& job = *m_content.m_pGrids[kKindJob];
    job.UseOffscreenPaint(1);
    job.SetDragMode(1);
    if (m_pView) {
        m_pView->ShowGrid(kKindStatus, true);
        m_pView->FocusGrid(kKindStatus);
        m_pView->SetDataKindPaneText(QString::fromLatin1(kDataKindPaneText[kKindStatus]));
    }
    return LoadOutcome::Loaded;
}

// Reads the whole file in one go; file errors are reported.
bool CVexAccDoc::ReadDocumentFile(const QString& strPath, QByteArray& bytes)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        ReportFileError(strPath, file.error(), false);
        return false;
    }
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc&) {
        m_messages.Exclamation(kFailedToOpen);
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        ReportFileError(strPath, file.error(), false);
        return false;
    }
    return true;
}

// The whole document is built in memory and written in one go to a
// temporary file beside the target, which replaces the target only when
// every byte was written. A failed save never damages the previous file.
bool CVexAccDoc::OnSaveDocument(const QString& strPath)
{
    // Building and writing a big document takes a while: the window keeps
    // painting meanwhile. The file object lives on the worker only.
    enum class Outcome { Saved, NotBuilt, FileError };
    Outcome outcome = Outcome::Saved;
    int nFileError = QFileDevice::NoError;
    RunWithoutFreezing([&] {
        std::string bytes;
        try {
            bytes = StoreAccDocument(m_content);
        } catch (const std::exception&) {
            outcome = Outcome::NotBuilt;
            return;
        }
        QSaveFile file(strPath);
        if (!file.open(QIODevice::WriteOnly)) {
            outcome = Outcome::FileError;
            nFileError = file.error();
            return;
        }
        const auto nSize = static_cast<qint64>(bytes.size());
        if (file.write(bytes.data(), nSize) != nSize) {
            nFileError = file.error();
            file.cancelWriting();
            outcome = Outcome::FileError;
            return;
        }
        if (!file.commit()) {
            nFileError = file.error();
            outcome = Outcome::FileError;
        }
    });
    if (outcome == Outcome::NotBuilt) {
        m_messages.Exclamation(kFailedToSave);
        return false;
    }
    if (outcome == Outcome::FileError) {
        ReportFileError(strPath, nFileError, true);
        return false;
    }
    SetModifiedFlag(false);
    m_bSavedHere = true;
    return true;
}

void CVexAccDoc::ReportFileError(const QString& strPath, int nFileError, bool bSaving)
{
    QString strText;
    switch (nFileError) {
    case QFileDevice::ResourceError:
        strText = QStringLiteral("Disk full while accessing %1.");
        break;
    case QFileDevice::PermissionsError:
        strText = QStringLiteral("Access to %1 was denied.");
        break;
    case QFileDevice::OpenError:
        if (!bSaving && !QFileInfo::exists(strPath))
            strText = QStringLiteral("%1 was not found.");
        else if (bSaving || !QFileInfo(strPath).isReadable())
            strText = QStringLiteral("Access to %1 was denied.");
        break;
    default:
        break;
    }
    if (strText.isEmpty())
        strText = bSaving ? QStringLiteral("An unexpected error occurred while writing %1.")
                          : QStringLiteral("An unexpected error occurred while reading %1.");
    m_messages.Exclamation(Local8(strText.arg(strPath)));
}

bool CVexAccDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_ui.AskSaveChanges(m_strTitle)) {
    case CDocumentUi::Answer::Cancel:
        return false;
    case CDocumentUi::Answer::No:
        return true;
    case CDocumentUi::Answer::Yes:
        return DoFileSave();
    }
    return false;
}

bool CVexAccDoc::NewDocument()
{
    if (!SaveModified())
        return false;
    m_strTitle = QStringLiteral("Untitled");
    emit titleChanged(m_strTitle);
    return OnNewDocument();
}

OpenResult CVexAccDoc::OpenDocumentFile(const QString& strPath)
{
    if (!m_strPathName.isEmpty() && QFileInfo(strPath).absoluteFilePath() == m_strPathName)
        return OpenResult::Opened; // already open
    if (!SaveModified())
        return OpenResult::Cancelled;
    // A file that did not open leaves the document as it was (path, title,
    // flag and data), or, after a load that failed half way, empty.
    if (OpenIntoView(strPath) != LoadOutcome::Loaded)
        return OpenResult::Failed;
    SetPathName(strPath);
    return OpenResult::Opened;
}

bool CVexAccDoc::DoSave(const QString& strPath, bool bReplace)
{
    QString strName = strPath;
    if (strName.isEmpty()) {
        QString strSuggested = m_strPathName;
        if (strSuggested.isEmpty())
            strSuggested = m_strTitle + QStringLiteral(".hpa");
        strName = m_ui.GetSaveFileName(strSuggested);
        if (strName.isEmpty())
            return false; // cancelled
    }
    if (!OnSaveDocument(strName))
        return false;
    if (bReplace)
        SetPathName(strName);
    return true;
}

bool CVexAccDoc::DoFileSave()
{
    // A read-only file is saved under a new name, as is an untitled one.
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() || (info.exists() && !info.isWritable()))
        return DoSave(QString());
    return DoSave(m_strPathName);
}

} // namespace hpa
