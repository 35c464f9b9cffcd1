#pragma once
// View > Filters...: the "Filter Data" dialog, where the user picks the
// fields the three grids show, and the command around it, which stores the
// new masks and can refill the grids of the data just downloaded.
//
// The job list has 24 items for 27 mask positions: "Color ink" stands for
// positions 22 to 24 and "Index count/index" for positions 25 and 26, and
// OK keeps each group all '0' or all '1', which the job reader relies on.
#include "accounting/FieldMasks.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QListWidget;
class QPushButton;

namespace hpa {

class CAcc;
class CAccViewBase;
class CMessages;
class CProfile;
class CUGCtrl;

inline constexpr const char* kMsgApplyFilters = "Apply filters to current document?";
// Help context of View > Filters... (0x10000 + 32782).
inline constexpr unsigned kFilterHelpContext = 0x1800E;

// The check marks of the three lists, in list order.
struct CFilterChecks {
    std::array<bool, 24> m_bJob{};
    std::array<bool, 6> m_bPaper{};
    std::array<bool, 17> m_bStatus{};
    bool operator==(const CFilterChecks&) const = default;
};

// The checks that show these masks: job items 0 to 21 from positions 0 to
// 21, "Color ink" from the position five before the job mask's end and
// "Index count/index" from the one two before it; paper and status item i
// from position i. Positions beyond a mask's end read as unchecked.
CFilterChecks FilterChecksFromMasks(const std::string& strJobMask, const std::string& strPaperMask,
                                    const std::string& strStatusMask);

// The masks and counts the checks select, as OK stores them: full-length
// masks, three positions and three columns for "Color ink", two for "Index
// count/index", one for every other item.
void BuildMasksFromChecks(const CFilterChecks& checks, CFieldMasks& masks);

class CFilterDlg : public QDialog {
    Q_OBJECT
public:
    // OK writes the new masks and counts into masks.
    explicit CFilterDlg(CFieldMasks& masks, QWidget* pParent = nullptr);

    QListWidget* JobList() const { return m_pJobList; }
    QListWidget* PaperList() const { return m_pPaperList; }
    QListWidget* StatusList() const { return m_pStatusList; }
    QPushButton* DefaultButton() const { return m_pDefault; }

    CFilterChecks Checks() const;
    void SetChecks(const CFilterChecks& checks);

    // The masks as they were when the dialog opened.
    const std::string& OldJobMask() const { return m_strOldJobMask; }
    const std::string& OldPaperMask() const { return m_strOldPaperMask; }
    const std::string& OldStatusMask() const { return m_strOldStatusMask; }

    // "&Default": the checks of the default masks (the masks themselves
    // change only with OK).
    void OnDefault();
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void ScrollListsToTop();

    CFieldMasks& m_masks;
    std::string m_strOldJobMask;
    std::string m_strOldPaperMask;
    std::string m_strOldStatusMask;
    QListWidget* m_pJobList = nullptr;
    QListWidget* m_pPaperList = nullptr;
    QListWidget* m_pStatusList = nullptr;
    QPushButton* m_pDefault = nullptr;
};

// What OnFilters works on; tests put their own in.
struct CFilterContext {
    QWidget* m_pParent = nullptr;
    CFieldMasks* m_pMasks = nullptr;  // g_masks
    CProfile* m_pProfile = nullptr;   // where the masks are written
    CMessages* m_pMessages = nullptr; // asks "Apply filters to current document?"
    // Whether the document is modified: then the working files hold the
    // data on show and the grids can be refilled from them.
    std::function<bool()> m_fnIsModified;
    CAcc* m_pAcc = nullptr;          // its readers refill the grids
    CUGCtrl* m_pShownGrid = nullptr; // painting suspended while refilling
    std::function<void()> m_fnFocusShownGrid;
    // Runs the dialog; true for OK. Empty: exec().
    std::function<bool(CFilterDlg&)> m_fnRunDialog;
};

// Runs the dialog and applies its outcome. True when it ended with OK.
bool OnFilters(const CFilterContext& context);

// After OK: writes the three masks to the profile; when the document is
// modified and some mask differs from its old value asks whether to apply
// them, and on Yes refills the grids whose mask changed (status, paper,
// job, in that order). Returns true when the grids were refilled.
bool ApplyFilterResult(const CFilterContext& context, const std::string& strOldJobMask,
                       const std::string& strOldPaperMask, const std::string& strOldStatusMask);

// What the view's OnFilters calls: the command with g_masks, g_acc, the
// application's profile and messages and the view's document.
bool RunFilterCommand(CAccViewBase& view);

} // namespace hpa
