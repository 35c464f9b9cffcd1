#include "history/qt/AddToHistory.h"

#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "document/qt/VexAccDoc.h"
#include "history/DocumentJobs.h"
#include "history/HistoryStore.h"
#include "history/HistoryValues.h"
#include "history/qt/HistoryLocation.h"
#include "history/qt/HistoryWindow.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "platform/qt/BackgroundWork.h"
#include "ui/AccViewBase.h"
#include "ui/AppServices.h"
#include "ui/CommandIds.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace hpa {

namespace {

constexpr const char* kCaption = "Add to History";

// The printer's name and the database, both required.
bool AskPrinterAndDatabase(QWidget* pParent, QString& strPrinter, QString& strDatabase)
{
    QDialog dialog(pParent);
    dialog.setWindowTitle(QDialog::tr("Add to History"));
    auto* pLayout = new QFormLayout(&dialog);
    auto* pPrinter = new QLineEdit(strPrinter, &dialog);
    auto* pDatabase = new QLineEdit(strDatabase, &dialog);
    pDatabase->setMinimumWidth(320);
    pDatabase->setToolTip(QDialog::tr("A SQLite file or a postgresql:// connection URI"));
    pLayout->addRow(QDialog::tr("&Printer name:"), pPrinter);
    pLayout->addRow(QDialog::tr("&Database:"), pDatabase);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    pLayout->addRow(pButtons);
    QObject::connect(pButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto fnCheck = [&] {
        pButtons->button(QDialogButtonBox::Ok)
            ->setEnabled(!pPrinter->text().trimmed().isEmpty() &&
                         !pDatabase->text().trimmed().isEmpty());
    };
    QObject::connect(pPrinter, &QLineEdit::textChanged, &dialog, fnCheck);
    QObject::connect(pDatabase, &QLineEdit::textChanged, &dialog, fnCheck);
    fnCheck();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    strPrinter = pPrinter->text().trimmed();
    strDatabase = pDatabase->text().trimmed();
    return true;
}

} // namespace

bool OnAddToHistory(const CAddToHistoryContext& context)
{
    CUGCtrl* pJobGrid = context.m_content.m_pGrids[kKindJob];
    CUGCtrl* pStatusGrid = context.m_content.m_pGrids[kKindStatus];
    if (!pJobGrid || !pStatusGrid || !context.m_pMasks || !context.m_pMessages)
        return false;
    CMessages& messages = *context.m_pMessages;
    const CAcc* pAcc = context.m_content.m_pAcc;
    const std::string strHost = pAcc ? pAcc->m_strHost : std::string();

    // The document is checked before anything is asked: one that cannot be
    // added says so at once.
    CDocumentJobList jobs;
    CCollectionInput input;
    std::string strError;
    if (!PrepareDocumentCollection(*pJobGrid, *pStatusGrid, *context.m_pMasks, std::string(),
                                   strHost, NowUtc(), jobs, input, strError)) {
        messages.Exclamation(strError);
        return false;
    }

    QString strPrinter = QString::fromStdString(strHost);
    QString strDatabase =
        QString::fromStdString(context.m_pProfile ? ChosenHistoryLocation(*context.m_pProfile)
                                                  : ResolveHistoryLocation(""));
    const bool bAsked = context.m_fnAsk
                            ? context.m_fnAsk(strPrinter, strDatabase)
                            : AskPrinterAndDatabase(context.m_pParent, strPrinter, strDatabase);
    if (!bAsked || strPrinter.trimmed().isEmpty() || strDatabase.trimmed().isEmpty())
        return false;
    input.m_strPrinter = strPrinter.trimmed().toStdString();
    input.m_nTimeUtc = NowUtc(); // the moment it is stored, not when the dialog opened
    const std::string strLocation = strDatabase.trimmed().toStdString();

    // Opening a PostgreSQL server or a large SQLite file may take a moment:
    // the window keeps painting meanwhile.
    CIngestResult result;
    bool bStored = false;
    RunWithoutFreezing([&] {
        auto pStore = OpenHistoryStore(strLocation, strError);
        bStored = pStore && pStore->Ingest(input, result, strError);
    });
    if (!bStored) {
        messages.Exclamation("The jobs were not added to the history: " + strError);
        return false;
    }
    if (context.m_pProfile)
        KeepHistoryLocation(*context.m_pProfile, strLocation);
    // An open History window on the same history shows the new jobs.
    if (CHistoryWindow* pWindow = CHistoryWindow::Instance();
        pWindow && pWindow->Location() == strLocation)
        pWindow->Reload();
    messages.Inform(std::to_string(result.m_nJobsSeen) + " jobs of the document, " +
                        std::to_string(result.m_nJobsNew) + " of them new, are now in the " +
                        "history of printer " + input.m_strPrinter + ".",
                    kCaption, MessageIcon::Information);
    return true;
}

void AddAddToHistoryCommand(CCommandMap& map, std::function<CAccViewBase*()> fnView)
{
    map.On(ID_FILE_ADD_TO_HISTORY, [fnView] {
        CAppServices* pApp = CAppServices::Instance();
        CAccViewBase* pView = fnView();
        CVexAccDoc* pDocument = pView ? pView->GetDocument() : nullptr;
        if (!pApp || !pDocument)
            return;
        CAddToHistoryContext context;
        context.m_pParent = pView;
        context.m_content = pDocument->Content();
        context.m_pMasks = &g_masks;
        context.m_pMessages = &pApp->Messages();
        context.m_pProfile = &pApp->Profile();
        OnAddToHistory(context);
    });
    map.OnUpdate(ID_FILE_ADD_TO_HISTORY, [fnView](CCmdUI& ui) {
        const CAccViewBase* pView = fnView();
        ui.Enable(pView && pView->GetDocument() && pView->CurrentKind() != 0);
    });
}

} // namespace hpa
