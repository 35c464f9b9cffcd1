#include "history/qt/PivotPane.h"

#include "accounting/FieldCatalogue.h"
#include "document/qt/DocumentUi.h"
#include "grid/qt/GridWnd.h"
#include "history/HistoryPivot.h"
#include "history/HistoryStore.h"
#include "history/qt/HistoryChart.h"
#include "platform/Messages.h"
#include "platform/qt/BackgroundWork.h"
#include "ui/AppServices.h"
#include "view/DataGridSetup.h"
#include "view/qt/ExportCommand.h"
#include "view/qt/PrintCommands.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

namespace hpa {

namespace {

constexpr int kPivotGridId = 2;

QPushButton* AddButton(QHBoxLayout* pRow, QWidget* pParent, const QString& strText,
                       const QString& strName)
{
    auto* pButton = new QPushButton(strText, pParent);
    pButton->setObjectName(strName);
    pButton->setAutoDefault(false);
    pRow->addWidget(pButton);
    return pButton;
}

} // namespace

void CPivotGrid::OnColumnHeadingClick(int nCol, int bDown)
{
    if (!bDown && nCol >= 0 && m_fnHeadingClick)
        m_fnHeadingClick(nCol);
}

CPivotPane::CPivotPane(CMessages& messages, QWidget* pParent)
    : QWidget(pParent), m_messages(messages)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);

    auto* pChoices = new QHBoxLayout;
    pChoices->addWidget(new QLabel(QStringLiteral("&Group by:"), this));
    m_pGroupBy = new QComboBox(this);
    m_pGroupBy->addItems({QStringLiteral("User"), QStringLiteral("Printer"), QStringLiteral("Host"),
                          QStringLiteral("Day"), QStringLiteral("Month")});
    pChoices->addWidget(m_pGroupBy);
    qobject_cast<QLabel*>(pChoices->itemAt(0)->widget())->setBuddy(m_pGroupBy);
    auto fnDate = [this, pChoices](const QString& strLabel) {
        auto* pLabel = new QLabel(strLabel, this);
        auto* pEdit = new QLineEdit(this);
        pEdit->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
        pEdit->setMaxLength(10);
        pEdit->setFixedWidth(pEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) +
                             24);
        pLabel->setBuddy(pEdit);
        pChoices->addWidget(pLabel);
        pChoices->addWidget(pEdit);
        connect(pEdit, &QLineEdit::editingFinished, this, [this] { UpdateReport(); });
        return pEdit;
    };
    m_pSince = fnDate(QStringLiteral("&From:"));
    m_pUntil = fnDate(QStringLiteral("&To:"));
    auto* pPrinterLabel = new QLabel(QStringLiteral("P&rinter:"), this);
    m_pPrinter = new QComboBox(this);
    m_pPrinter->setMinimumContentsLength(16);
    pPrinterLabel->setBuddy(m_pPrinter);
    pChoices->addWidget(pPrinterLabel);
    pChoices->addWidget(m_pPrinter);
    pChoices->addStretch(1);
    pLayout->addLayout(pChoices);

    auto* pCommands = new QHBoxLayout;
    connect(AddButton(pCommands, this, QStringLiteral("&Copy"), QStringLiteral("copy")),
            &QPushButton::clicked, this, &CPivotPane::Copy);
    connect(AddButton(pCommands, this, QStringLiteral("F&ind..."), QStringLiteral("find")),
            &QPushButton::clicked, this, &CPivotPane::Find);
    connect(AddButton(pCommands, this, QStringLiteral("&Export..."), QStringLiteral("export")),
            &QPushButton::clicked, this, &CPivotPane::Export);
    connect(AddButton(pCommands, this, QStringLiteral("&Print..."), QStringLiteral("print")),
            &QPushButton::clicked, this, &CPivotPane::Print);
    pCommands->addStretch(1);
    connect(AddButton(pCommands, this, QStringLiteral("Copy C&hart"), QStringLiteral("copyChart")),
            &QPushButton::clicked, this, &CPivotPane::CopyChart);
    connect(
        AddButton(pCommands, this, QStringLiteral("&Save Chart..."), QStringLiteral("saveChart")),
        &QPushButton::clicked, this, &CPivotPane::SaveChart);
    pLayout->addLayout(pCommands);

    auto* pSplitter = new QSplitter(Qt::Horizontal, this);
    auto* pGridHolder = new QWidget(pSplitter);
    auto* pGridLayout = new QVBoxLayout(pGridHolder);
    pGridLayout->setContentsMargins(0, 0, 0, 0);
    if (m_grid.CreateGridWnd(pGridHolder, QRect(0, 0, 400, 300), kPivotGridId, true))
        pGridLayout->addWidget(m_grid.GetGridWnd());
    m_pChart = new CHistoryChart(pSplitter);
    pSplitter->addWidget(pGridHolder);
    pSplitter->addWidget(m_pChart);
    pGridHolder->setMinimumWidth(240);
    pSplitter->setStretchFactor(0, 1);
    pSplitter->setStretchFactor(1, 1);
    pSplitter->setSizes({560, 640});
    pLayout->addWidget(pSplitter, 1);
    m_pNote = new QLabel(this);
    m_pNote->setWordWrap(true);
    pLayout->addWidget(m_pNote);

    // Copy and find keys on the grid, as in the main window.
    if (CGridWnd* pWnd = m_grid.GetGridWnd()) {
        auto* pCopy = new QShortcut(QKeySequence::Copy, pWnd, nullptr, nullptr,
                                    Qt::WidgetWithChildrenShortcut);
        connect(pCopy, &QShortcut::activated, this, &CPivotPane::Copy);
        auto* pFind = new QShortcut(QKeySequence::Find, pWnd, nullptr, nullptr,
                                    Qt::WidgetWithChildrenShortcut);
        connect(pFind, &QShortcut::activated, this, &CPivotPane::Find);
    }
    m_grid.m_fnHeadingClick = [this](int nColumn) {
        // A new column sorts keys up and numbers down; the same one turns round.
        const bool bAscending = nColumn == m_nSortColumn ? !m_bAscending : nColumn == 0;
        SortBy(nColumn, bAscending);
    };
    connect(m_pGroupBy, &QComboBox::currentIndexChanged, this, [this] { UpdateReport(); });
    connect(m_pPrinter, &QComboBox::currentIndexChanged, this, [this] { UpdateReport(); });
}

CPivotPane::~CPivotPane() = default;

QPushButton* CPivotPane::Button(const QString& strObjectName) const
{
    return findChild<QPushButton*>(strObjectName);
}

void CPivotPane::SetStore(CHistoryStore* pStore, const std::vector<std::string>& printers)
{
    m_pStore = pStore;
    const QString strChosen =
        m_pPrinter->currentIndex() > 0 ? m_pPrinter->currentText() : QString();
    const QSignalBlocker block(m_pPrinter);
    m_pPrinter->clear();
    m_pPrinter->addItem(QStringLiteral("All printers"));
    for (const std::string& strName : printers)
        m_pPrinter->addItem(QString::fromStdString(ToUtf8(strName)),
                            QByteArray::fromStdString(strName));
    m_pPrinter->setCurrentIndex(std::max(0, m_pPrinter->findText(strChosen)));
}

bool CPivotPane::ReadQuery(CReportQuery& query)
{
    query.m_key = static_cast<ReportKey>(m_pGroupBy->currentIndex());
    if (m_pPrinter->currentIndex() > 0)
        query.m_printers.push_back(m_pPrinter->currentData().toByteArray().toStdString());
    for (QLineEdit* pEdit : {m_pSince, m_pUntil}) {
        const std::string strDate = pEdit->text().trimmed().toStdString();
        if (!strDate.empty() && !IsReportDate(strDate)) {
            m_pNote->setText(QStringLiteral("Dates are written YYYY-MM-DD: %1").arg(pEdit->text()));
            pEdit->setFocus();
            return false;
        }
        (pEdit == m_pSince ? query.m_strSince : query.m_strUntil) = strDate;
    }
    if (!query.m_strSince.empty() && !query.m_strUntil.empty() &&
        query.m_strSince > query.m_strUntil) {
        m_pNote->setText(QStringLiteral("The period starts after it ends."));
        return false;
    }
    return true;
}

bool CPivotPane::UpdateReport()
{
    CReportQuery query;
    if (!ReadQuery(query))
        return false;
    CReport report;
    report.m_query = query;
    report.m_total.m_strKey = "Total";
    std::string strError;
    bool bRead = true;
    // The interface keeps painting while a large history is summed.
    if (m_pStore)
        RunWithoutFreezing([&] { bRead = RunHistoryReport(*m_pStore, query, report, strError); });
    if (!bRead) {
        m_messages.Exclamation(strError);
        return false;
    }
    m_report = std::move(report);
    const std::string strGaps = ReportGapNotes(m_report);
    m_pNote->setText(QString::fromStdString(ToUtf8(strGaps)).trimmed());
    m_nSortColumn = 0;
    m_bAscending = true;
    ShowRows();
    m_pChart->ShowReport(m_report);
    return true;
}

void CPivotPane::SortBy(int nColumn, bool bAscending)
{
    m_nSortColumn = nColumn;
    m_bAscending = bAscending;
    SortReportRows(m_report.m_rows, nColumn, bAscending);
    ShowRows();
}

void CPivotPane::ShowRows()
{
    FillReportGrid(m_grid, m_report);
    m_grid.FitColumnWidths(0, m_grid.ColumnCount() - 1, m_grid.RowCount());
    (void)m_grid.MoveCurrentCell(0, 0);
    m_grid.RedrawAll();
}

void CPivotPane::Copy()
{
    m_grid.CopySelectionToClipboard();
    m_grid.m_bCellClicked = false;
}

void CPivotPane::Find()
{
    m_grid.OpenFindDialog();
}

QString CPivotPane::AskFile(const QString& strPurpose)
{
    if (m_fnAskFile)
        return m_fnAskFile(strPurpose);
    if (strPurpose == QLatin1String("export"))
        return AskExportFileName(this);
    return QFileDialog::getSaveFileName(this, QStringLiteral("Save Chart"),
                                        QDir::current().filePath(QStringLiteral("chart.png")),
                                        QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
}

void CPivotPane::Export()
{
    const QString strPath = AskFile(QStringLiteral("export"));
    if (!strPath.isEmpty())
        ExportGridToFile(m_grid, kKindPaper, {}, strPath, m_messages);
}

bool CPivotPane::Print()
{
    CAppServices* pApp = CAppServices::Instance();
    QPrinter ownPrinter(QPrinter::HighResolution);
    CPrintCommandContext context;
    context.m_pView = this;
    context.m_pPrinter = pApp ? &pApp->Printer() : &ownPrinter;
    context.m_pMessages = &m_messages;
    context.m_pProfile = pApp ? &pApp->Profile() : nullptr;
    if (pApp) {
        CDocumentUi* pUi = &pApp->DocumentUi();
        context.m_fnAskPdfFile = [pUi](const QString& str) { return pUi->GetPrintFileName(str); };
    } else {
        context.m_fnAskPdfFile = [this](const QString& str) { return AskPdfFileName(this, str); };
    }
    context.m_strPdfSuggestion = QDir::current().filePath(QStringLiteral("history-report.pdf"));
    context.m_strDocName = QStringLiteral("History");
    context.m_fnPrintDialog = m_fnPrintDialog;
    context.m_fnSource = [this]() -> std::optional<CViewPrintSource> {
        CViewPrintSource source;
        source.m_pGrid = &m_grid;
        source.m_pPrinter = &m_gridPrinter;
        source.m_strTitle = ReportPrintTitle(m_report.m_query);
        source.m_headerFields = ReportPrintHeaderFields(m_report.m_query);
        source.m_screenFont = m_grid.GetGridFont();
        source.m_printFont = MakePrintGridFont();
        return source;
    };
    return OnFilePrint(context);
}

void CPivotPane::CopyChart()
{
    m_pChart->CopyImage();
}

void CPivotPane::SaveChart()
{
    const QString strPath = AskFile(QStringLiteral("chart"));
    if (!strPath.isEmpty() && !m_pChart->SaveImage(strPath))
        m_messages.Exclamation("Could not write the chart to " + strPath.toStdString() + ".");
}

} // namespace hpa
