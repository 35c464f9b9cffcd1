#include "view/qt/FilterDlg.h"

#include "accounting/Acc.h"
#include "accounting/FieldCatalogue.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"
#include "platform/Profile.h"
#include "ui/AccViewBase.h"
#include "ui/AppServices.h"
#include "ui/DialogUnits.h"
#include "ui/HelpWindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cstring>

namespace hpa {

namespace {

constexpr const char* kColorInkItem = "Color ink";
constexpr const char* kIndexItem = "Index count/index";

class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

bool AtPosition(const std::string& strMask, std::size_t nPosition)
{
    return MaskSelects(strMask, static_cast<int>(nPosition));
}

template <std::size_t N>
QListWidget* MakeCheckList(const std::array<const char*, N>& items, const QRect& rect,
                           QWidget* pParent)
{
    auto* pList = new QListWidget(pParent);
    pList->setGeometry(rect);
    pList->setSelectionMode(QAbstractItemView::NoSelection);
    pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pList->setUniformItemSizes(true);
    pList->setFocusPolicy(Qt::StrongFocus);
    for (const char* pszItem : items) {
        auto* pItem = new QListWidgetItem(QString::fromLatin1(pszItem), pList);
        pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        pItem->setCheckState(Qt::Unchecked);
    }
    return pList;
}

QLabel* MakeLabel(const char* pszText, QWidget* pBuddy, const QRect& rect, QWidget* pParent)
{
    auto* pLabel = new QLabel(QString::fromLatin1(pszText), pParent);
    pLabel->setBuddy(pBuddy);
    pLabel->setGeometry(rect);
    return pLabel;
}

template <std::size_t N> void ReadChecks(const QListWidget* pList, std::array<bool, N>& checks)
{
    for (std::size_t i = 0; i < N; ++i) {
        const QListWidgetItem* pItem = pList->item(static_cast<int>(i));
        checks[i] = pItem && pItem->checkState() == Qt::Checked;
    }
}

template <std::size_t N> void WriteChecks(QListWidget* pList, const std::array<bool, N>& checks)
{
    for (std::size_t i = 0; i < N; ++i)
        if (QListWidgetItem* pItem = pList->item(static_cast<int>(i)))
            pItem->setCheckState(checks[i] ? Qt::Checked : Qt::Unchecked);
}

} // namespace

// ---- masks and checks --------------------------------------------------------------

CFilterChecks FilterChecksFromMasks(const std::string& strJobMask, const std::string& strPaperMask,
                                    const std::string& strStatusMask)
{
    CFilterChecks checks;
    const std::size_t nJobItems = checks.m_bJob.size();
    for (std::size_t i = 0; i + 2 < nJobItems; ++i)
        checks.m_bJob[i] = AtPosition(strJobMask, i);
    // The two grouped items are read from the end of the mask, so they
    // land on positions 22 and 25 of a full 27-character mask.
    const auto nLength = static_cast<int>(strJobMask.size());
    checks.m_bJob[nJobItems - 2] = MaskSelects(strJobMask, nLength - 5);
    checks.m_bJob[nJobItems - 1] = MaskSelects(strJobMask, nLength - 2);
    for (std::size_t i = 0; i < checks.m_bPaper.size(); ++i)
        checks.m_bPaper[i] = AtPosition(strPaperMask, i);
    for (std::size_t i = 0; i < checks.m_bStatus.size(); ++i)
        checks.m_bStatus[i] = AtPosition(strStatusMask, i);
    return checks;
}

void BuildMasksFromChecks(const CFilterChecks& checks, CFieldMasks& masks)
{
    const std::string strZeros(30, '0');
    masks.m_strJobMask = strZeros.substr(0, static_cast<std::size_t>(kMaskLength[kKindJob]));
    masks.m_strPaperMask = strZeros.substr(0, static_cast<std::size_t>(kMaskLength[kKindPaper]));
    masks.m_strStatusMask = strZeros.substr(0, static_cast<std::size_t>(kMaskLength[kKindStatus]));
    masks.m_nStatusRows = 0;
    masks.m_nPaperColumns = 0;
    masks.m_nJobColumns = 0;

    for (std::size_t i = 0; i < checks.m_bJob.size(); ++i) {
        if (!checks.m_bJob[i])
            continue;
        const char* pszItem = kJobFilterItems[i];
        if (std::strcmp(pszItem, kColorInkItem) == 0) {
            masks.m_strJobMask.replace(i, 3, "111");
            masks.m_nJobColumns += 3;
        } else if (std::strcmp(pszItem, kIndexItem) == 0) {
            masks.m_strJobMask.replace(i + 2, 2, "11");
            masks.m_nJobColumns += 2;
        } else {
            masks.m_strJobMask[i] = '1';
            masks.m_nJobColumns += 1;
        }
    }
    for (std::size_t i = 0; i < checks.m_bPaper.size(); ++i) {
        if (checks.m_bPaper[i]) {
            masks.m_strPaperMask[i] = '1';
            ++masks.m_nPaperColumns;
        }
    }
    for (std::size_t i = 0; i < checks.m_bStatus.size(); ++i) {
        if (checks.m_bStatus[i]) {
            masks.m_strStatusMask[i] = '1';
            ++masks.m_nStatusRows;
        }
    }
}

// ---- the dialog ----------------------------------------------------------------------

// The Filter Data dialog's layout: 250 x 142 dialog units in the 8-point dialog font.
CFilterDlg::CFilterDlg(CFieldMasks& masks, QWidget* pParent)
    : QDialog(pParent), m_masks(masks), m_strOldJobMask(masks.m_strJobMask),
      m_strOldPaperMask(masks.m_strPaperMask), m_strOldStatusMask(masks.m_strStatusMask)
{
    setWindowTitle(QStringLiteral("Filter Data"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(CDialogUnits::DialogFont(8));
    const CDialogUnits du(font());
    setFixedSize(du.X(250), du.Y(142));

    // Created in tab order: each label before its list, then the buttons.
    m_pJobList = MakeCheckList(kJobFilterItems, du.Rect(55, 14, 106, 32), this);
    MakeLabel("&Job fields", m_pJobList, du.Rect(15, 26, 32, 11), this);
    m_pPaperList = MakeCheckList(kPaperFilterItems, du.Rect(55, 56, 106, 32), this);
    MakeLabel("&Paper fields", m_pPaperList, du.Rect(8, 69, 39, 11), this);
    m_pStatusList = MakeCheckList(kStatusFilterItems, du.Rect(55, 98, 106, 32), this);
    MakeLabel("&Status fields", m_pStatusList, du.Rect(7, 108, 40, 11), this);

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setGeometry(du.Rect(193, 14, 50, 14));
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    pCancel->setGeometry(du.Rect(193, 34, 50, 14));
    m_pDefault = new QPushButton(QStringLiteral("&Default"), this);
    m_pDefault->setGeometry(du.Rect(193, 66, 50, 14));
    m_pDefault->setAutoDefault(false);
    connect(pOk, &QPushButton::clicked, this, &CFilterDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &CFilterDlg::reject);
    connect(m_pDefault, &QPushButton::clicked, this, &CFilterDlg::OnDefault);

    SetChecks(FilterChecksFromMasks(m_strOldJobMask, m_strOldPaperMask, m_strOldStatusMask));
    ScrollListsToTop();
    m_pJobList->setFocus();
}

CFilterChecks CFilterDlg::Checks() const
{
    CFilterChecks checks;
    ReadChecks(m_pJobList, checks.m_bJob);
    ReadChecks(m_pPaperList, checks.m_bPaper);
    ReadChecks(m_pStatusList, checks.m_bStatus);
    return checks;
}

void CFilterDlg::SetChecks(const CFilterChecks& checks)
{
    WriteChecks(m_pJobList, checks.m_bJob);
    WriteChecks(m_pPaperList, checks.m_bPaper);
    WriteChecks(m_pStatusList, checks.m_bStatus);
}

void CFilterDlg::ScrollListsToTop()
{
    for (QListWidget* pList : {m_pJobList, m_pPaperList, m_pStatusList}) {
        pList->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        pList->scrollToTop();
    }
}

void CFilterDlg::OnDefault()
{
    SetChecks(FilterChecksFromMasks(kDefaultJobMask, kDefaultPaperMask, kDefaultStatusMask));
    ScrollListsToTop();
}

void CFilterDlg::accept()
{
    QDialog::accept();
    BuildMasksFromChecks(Checks(), m_masks);
}

void CFilterDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_F1 && pEvent->modifiers() == Qt::NoModifier) {
        ShowHelpContext(kFilterHelpContext);
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

// ---- the command -----------------------------------------------------------------------

bool ApplyFilterResult(const CFilterContext& context, const std::string& strOldJobMask,
                       const std::string& strOldPaperMask, const std::string& strOldStatusMask)
{
    const CFieldMasks& masks = *context.m_pMasks;
    // Written on every OK, changed or not.
    if (context.m_pProfile)
        SaveFieldMasks(*context.m_pProfile, masks);

    const bool bJobChanged = masks.m_strJobMask != strOldJobMask;
    const bool bPaperChanged = masks.m_strPaperMask != strOldPaperMask;
    const bool bStatusChanged = masks.m_strStatusMask != strOldStatusMask;
    // Only a modified document has its data in the working files; a loaded
    // or saved one keeps its grids as stored.
    const bool bModified = context.m_fnIsModified && context.m_fnIsModified();
    if (!bModified || !(bJobChanged || bPaperChanged || bStatusChanged))
        return false;
    if (!context.m_pMessages ||
        context.m_pMessages->AskYesNo(kMsgApplyFilters) != MessageAnswer::Yes)
        return false;
    if (!context.m_pAcc)
        return false;

    CWaitCursor wait;
    if (context.m_pShownGrid)
        context.m_pShownGrid->EnableGridPaint(0);
    if (bStatusChanged)
        context.m_pAcc->FillStatusGrid();
    if (bPaperChanged)
        context.m_pAcc->ReadPaperFile();
    if (bJobChanged)
        context.m_pAcc->ReadJobFile();
    if (context.m_pShownGrid)
        context.m_pShownGrid->EnableGridPaint(1);
    return true;
}

bool OnFilters(const CFilterContext& context)
{
    if (!context.m_pMasks)
        return false;
    CFilterDlg dialog(*context.m_pMasks, context.m_pParent);
    const bool bOk =
        context.m_fnRunDialog ? context.m_fnRunDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (bOk)
        ApplyFilterResult(context, dialog.OldJobMask(), dialog.OldPaperMask(),
                          dialog.OldStatusMask());
    if (context.m_fnFocusShownGrid)
        context.m_fnFocusShownGrid();
    return bOk;
}

bool RunFilterCommand(CAccViewBase& view)
{
    CAppServices* pApp = CAppServices::Instance();
    if (!pApp)
        return false;
    const int nGrid = view.CurrentGrid();
    const bool bShown = nGrid >= 0 && nGrid < kDataKindCount;
    CFilterContext context;
    context.m_pParent = &view;
    context.m_pMasks = &g_masks;
    context.m_pProfile = &pApp->Profile();
    context.m_pMessages = &pApp->Messages();
    context.m_fnIsModified = [&view] {
        return view.GetDocument() && view.GetDocument()->IsModified();
    };
    context.m_pAcc = &g_acc;
    context.m_pShownGrid = bShown ? &view.Grid(nGrid) : nullptr;
    if (bShown)
        context.m_fnFocusShownGrid = [&view, nGrid] { view.FocusGrid(nGrid); };
    return OnFilters(context);
}

} // namespace hpa
