// hpa-grid-demo: the grid control on its own, with 1,000,000 rows of 27
// generated columns to scroll, click and select in. A developer's tool; it
// is not installed.
//
//   hpa-grid-demo [--rows N] [--screenshot FILE]
//
// With --screenshot the demo scrolls down, moves the current cell, selects
// a few cells with Shift+arrows, saves a picture of its window to FILE and
// exits.
#include "grid/UGCtrl.h"
#include "grid/qt/GridWnd.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace hpa;

namespace {

constexpr int kColumns = 27;

constexpr std::array<const char*, kColumns> kHeadings = {
    "Job Id",    "User Name", "Document", "Start Date", "Start Time", "End Time", "Sheets",
    "Pages",     "Copies",    "Paper",    "Duplex",     "Status",     "Queue",    "Host",
    "Size (KB)", "Color",     "Tray",     "Output Bin", "Staple",     "Punch",    "Jams",
    "Toner",     "Priority",  "Account",  "Department", "Cost",       "Comment"};

constexpr std::array<const char*, 8> kUsers = {"admin",  "jsmith", "mgarcia", "kwong",
                                               "Müller", "lchen",  "pdubois", "operator"};
constexpr std::array<const char*, 5> kPapers = {"A4", "Letter", "Legal", "A3", "Envelope"};
constexpr std::array<const char*, 4> kStates = {"Printed", "Cancelled", "Error", "Held"};

// A small deterministic hash so every cell has its own, repeatable value.
unsigned Mix(unsigned a, unsigned b)
{
    unsigned h = a * 2654435761u ^ (b + 0x9E3779B9u + (a << 6) + (a >> 2));
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return h;
}

std::string CellText(int nCol, int nRow)
{
    const unsigned h = Mix(static_cast<unsigned>(nRow), static_cast<unsigned>(nCol));
    char sz[64];
    switch (nCol) {
    case 0:
        std::snprintf(sz, sizeof sz, "%07d", nRow + 1);
        break;
    case 1:
        return kUsers[h % kUsers.size()];
    case 2:
        std::snprintf(sz, sizeof sz, "report-%u.pdf", h % 9000 + 1000);
        break;
    case 3:
        std::snprintf(sz, sizeof sz, "%02u/%02u/2024", h % 12 + 1, h / 12 % 28 + 1);
        break;
    case 4:
    case 5:
        std::snprintf(sz, sizeof sz, "%02u:%02u:%02u", h % 24, h / 24 % 60, h / 1440 % 60);
        break;
    case 9:
        return kPapers[h % kPapers.size()];
    case 11:
        return kStates[h % kStates.size()];
    case 13:
        std::snprintf(sz, sizeof sz, "10.0.%u.%u", h % 8, h / 8 % 250 + 2);
        break;
    case 26:
        return h % 5 == 0 ? "a rather long comment that does not fit its column" : "";
    default:
        std::snprintf(sz, sizeof sz, "%u", h % (nCol * 37 + 5));
        break;
    }
    return sz;
}

// Cells are made when they are shown, so a million rows need no memory.
class CDemoGrid : public CUGCtrl {
public:
    void OnGridSetup() override
    {
        SetGridFont({"Arial", -12, 400});
        CUGCell def;
        GetGridDefaults(&def);
        def.SetAlignment(kAlignVCenter);
        SetGridDefaults(&def);
        AllowRangeSelection(1);
        UseOneRowHeight(1);
        SetDefaultRowHeight(16);
        SetColumnCount(kColumns);
        for (int c = 0; c < kColumns; ++c)
            SetCellText(c, -1, kHeadings[static_cast<std::size_t>(c)]);
        UseVScrollTips(1);
    }
    void OnResolveCell(int nCol, int nRow, CUGCell* pCell) override
    {
        if (nRow < 0)
            return;
        if (nCol < 0)
            pCell->SetText(std::to_string(nRow + 1));
        else
            pCell->SetText(CellText(nCol, nRow));
    }
    int OnVScrollTip(int nRow, int /*nPercent*/, std::string* pstrTip) override
    {
        *pstrTip = "Row " + std::to_string(nRow + 1);
        return 1;
    }

    // Widths from the heading and a sample of rows, measured like the
    // column fitting measures (text extent plus 6).
    void FitSample(int nRows)
    {
        auto pDC = CreateMeasureDC();
        const CGridFont font = GetGridFont();
        pDC->SelectFont(&font);
        for (int c = 0; c < kColumns; ++c) {
            int nWidest = pDC->GetTextExtent(kHeadings[static_cast<std::size_t>(c)]).cx;
            for (int r = 0; r < nRows; ++r)
                nWidest = std::max(nWidest, pDC->GetTextExtent(CellText(c, r)).cx);
            SetColumnWidth(c, std::min(nWidest + 6, c == 26 ? 160 : 400));
        }
        pDC->SelectFont(nullptr);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int nRows = 1000000;
    const char* pszShot = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0 && i + 1 < argc)
            nRows = std::max(0, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            pszShot = argv[++i];
    }

    CDemoGrid grid; // outlives its window, which the frame deletes
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("HPA grid demo - %1 rows").arg(nRows));
    auto* pWnd = new CGridWnd(grid);
    pWnd->CreateInParent(&frame, QRect(0, 0, 900, 600), 1);
    frame.setCentralWidget(pWnd);
    grid.SetRowCount(nRows);
    grid.FitSample(200);
    grid.UseOffscreenPaint(1);
    grid.SetDragMode(1);
    frame.resize(1000, 640);
    frame.show();
    pWnd->setFocus();

    if (pszShot) {
        QTimer::singleShot(300, &frame, [&] {
            for (int i = 0; i < 40; ++i)
                (void)grid.ScrollRows(kMovePageDown);
            (void)grid.ScrollRows(kMoveDown);
            (void)grid.MoveCurrentCell(2, grid.GetTopRow() + 3);
            (void)grid.ScrollColumns(kMoveRight);
            // Shift+Down twice and Shift+Right: a selected block beside the
            // current cell's focus frame.
            frame.activateWindow();
            pWnd->setFocus();
            for (int nKey : {kGridKeyDown, kGridKeyDown, kGridKeyRight})
                pWnd->Input().OnKeyDown(&nKey, kGridModShift);
            QTimer::singleShot(300, &frame, [&] {
                const bool bOk = frame.grab().save(QString::fromLocal8Bit(pszShot));
                std::fprintf(stderr, "%s %s\n", bOk ? "saved" : "could not save", pszShot);
                QApplication::exit(bOk ? 0 : 1);
            });
        });
    }
    return QApplication::exec();
}
