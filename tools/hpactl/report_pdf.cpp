// The printed history report.
#include "report_pdf.h"

#include "history/HistoryPivot.h"
#include "history/HistoryValues.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace hpactl {

namespace {

constexpr int kResolution = 300; // dots per inch of the PDF's page space
constexpr int kChartBars = 20;

QString Text(const std::string& strBytes)
{
    return QString::fromStdString(hpa::ToUtf8(strBytes));
}

QString PeriodText(const hpa::CReportQuery& query)
{
    return QStringLiteral("Period: ") + Text(hpa::ReportPeriodText(query));
}

QString PrintersText(const hpa::CReportQuery& query)
{
    if (query.m_printers.empty())
        return QStringLiteral("Printers: all");
    QStringList names;
    for (const std::string& strName : query.m_printers)
        names << Text(strName);
    return QStringLiteral("Printers: ") + names.join(QStringLiteral(", "));
}

class CReportPainter {
public:
    CReportPainter(QPdfWriter& writer, const hpa::CReport& report)
        : m_writer(writer), m_report(report), m_painter(&writer)
    {
        m_rect = QRect(QPoint(0, 0), writer.pageLayout().paintRectPixels(kResolution).size());
        m_body = QFont(QStringLiteral("Liberation Sans"));
        m_body.setPointSizeF(9);
        m_bold = m_body;
        m_bold.setBold(true);
        m_title = m_bold;
        m_title.setPointSizeF(14);
    }
    bool Ok() const { return m_painter.isActive(); }

    void Paint()
    {
        Header();
        Chart();
        Table();
        m_painter.end();
    }

private:
    int LineHeight(const QFont& font) const { return QFontMetrics(font, &m_writer).height(); }

    void Header()
    {
        m_nY = 0;
        m_painter.setFont(m_title);
        const int nTitle = LineHeight(m_title);
        m_painter.drawText(
            QRect(0, m_nY, m_rect.width(), nTitle), Qt::AlignLeft,
            QStringLiteral("Printer history by %1")
                .arg(QString::fromLatin1(hpa::ReportKeyHeading(m_report.m_query.m_key)).toLower()));
        m_nY += nTitle;
        m_painter.setFont(m_body);
        const int nLine = LineHeight(m_body);
        for (const QString& strLine :
             {PeriodText(m_report.m_query), PrintersText(m_report.m_query)}) {
            m_painter.drawText(QRect(0, m_nY, m_rect.width(), nLine), Qt::AlignLeft, strLine);
            m_nY += nLine;
        }
        m_painter.drawLine(0, m_nY + nLine / 4, m_rect.width(), m_nY + nLine / 4);
        m_nY += nLine;
    }

    void Chart()
    {
        std::vector<const hpa::CReportRow*> rows;
        for (const hpa::CReportRow& row : m_report.m_rows)
            rows.push_back(&row);
        std::stable_sort(rows.begin(), rows.end(), [](const auto* a, const auto* b) {
            return a->TotalSheets() > b->TotalSheets();
        });
        if (rows.size() > static_cast<std::size_t>(kChartBars))
            rows.resize(kChartBars);
        if (rows.empty())
            return;
        const int nLine = LineHeight(m_body);
        m_painter.setFont(m_bold);
        m_painter.drawText(QRect(0, m_nY, m_rect.width(), nLine), Qt::AlignLeft,
                           QStringLiteral("Total sheets (largest %1)").arg(rows.size()));
        m_nY += nLine;
        m_painter.setFont(m_body);
        const std::int64_t nMax = std::max<std::int64_t>(1, rows.front()->TotalSheets());
        const int nLabel = m_rect.width() / 4;
        const int nValue = m_rect.width() / 8;
        const int nBarSpace = m_rect.width() - nLabel - nValue;
        const QFontMetrics metrics(m_body, &m_writer);
        for (const hpa::CReportRow* pRow : rows) {
            const QString strKey =
                metrics.elidedText(Text(pRow->m_strKey), Qt::ElideRight, nLabel - nLine / 2);
            m_painter.drawText(QRect(0, m_nY, nLabel, nLine), Qt::AlignLeft | Qt::AlignVCenter,
                               strKey);
            const int nWidth = static_cast<int>(
                static_cast<double>(nBarSpace) *
                static_cast<double>(std::max<std::int64_t>(0, pRow->TotalSheets())) /
                static_cast<double>(nMax));
            m_painter.fillRect(QRect(nLabel, m_nY + nLine / 6, std::max(nWidth, 1), nLine * 2 / 3),
                               QColor(70, 110, 170));
            m_painter.drawText(QRect(nLabel + nBarSpace, m_nY, nValue, nLine),
                               Qt::AlignRight | Qt::AlignVCenter,
                               QString::number(pRow->TotalSheets()));
            m_nY += nLine;
        }
        m_nY += nLine;
    }

    void Table()
    {
        const std::vector<std::string> headings = hpa::ReportHeadings(m_report.m_query.m_key);
        std::vector<std::vector<std::string>> rows;
        for (const hpa::CReportRow& row : m_report.m_rows)
            rows.push_back(hpa::ReportCells(row));
        rows.push_back(hpa::ReportCells(m_report.m_total));
        const int nLine = LineHeight(m_body);
        const int nKeyWidth = m_rect.width() * 3 / 10;
        const int nNumberWidth = (m_rect.width() - nKeyWidth) / (hpa::kReportColumns - 1);
        const QFontMetrics metrics(m_body, &m_writer);
        auto fnRow = [&](const std::vector<std::string>& cells, bool bBold) {
            m_painter.setFont(bBold ? m_bold : m_body);
            m_painter.drawText(
                QRect(0, m_nY, nKeyWidth, nLine), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(Text(cells[0]), Qt::ElideRight, nKeyWidth - nLine));
            for (int c = 1; c < hpa::kReportColumns; ++c)
                m_painter.drawText(
                    QRect(nKeyWidth + (c - 1) * nNumberWidth, m_nY, nNumberWidth, nLine),
                    Qt::AlignRight | Qt::AlignVCenter, Text(cells[static_cast<std::size_t>(c)]));
            m_nY += nLine;
        };
        auto fnHeadings = [&] {
            fnRow(headings, true);
            m_painter.drawLine(0, m_nY, m_rect.width(), m_nY);
        };
        fnHeadings();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (m_nY + nLine > m_rect.height()) {
                m_writer.newPage();
                Header();
                fnHeadings();
            }
            fnRow(rows[r], r + 1 == rows.size());
        }
        const std::string strNotes = hpa::ReportGapNotes(m_report);
        if (!strNotes.empty()) {
            m_nY += nLine;
            m_painter.setFont(m_body);
            for (const QString& strNote :
                 QString::fromStdString(hpa::ToUtf8(strNotes)).split('\n', Qt::SkipEmptyParts)) {
                if (m_nY + nLine > m_rect.height()) {
                    m_writer.newPage();
                    Header();
                }
                m_painter.drawText(QRect(0, m_nY, m_rect.width(), nLine), Qt::AlignLeft, strNote);
                m_nY += nLine;
            }
        }
    }

    QPdfWriter& m_writer;
    const hpa::CReport& m_report;
    QPainter m_painter;
    QRect m_rect;
    QFont m_body;
    QFont m_bold;
    QFont m_title;
    int m_nY = 0;
};

} // namespace

bool WriteReportPdf(const hpa::CReport& report, const std::string& strPath)
{
    // Fonts and PDF output need Qt, on the offscreen platform: no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int s_nArgc = 1;
    static char s_szName[] = "hpactl";
    static char* s_apszArgv[] = {s_szName, nullptr};
    std::unique_ptr<QGuiApplication> pApp;
    if (!QGuiApplication::instance())
        pApp = std::make_unique<QGuiApplication>(s_nArgc, s_apszArgv);

    QSaveFile file(QString::fromLocal8Bit(strPath.c_str()));
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "hpactl report: cannot create %s\n", strPath.c_str());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QStringLiteral("Printer history report"));
        writer.setCreator(QStringLiteral("hpactl"));
        CReportPainter painter(writer, report);
        if (!painter.Ok()) {
            std::fprintf(stderr, "hpactl report: cannot draw %s\n", strPath.c_str());
            return false;
        }
        painter.Paint();
    }
    if (!file.commit()) {
        std::fprintf(stderr, "hpactl report: cannot write %s\n", strPath.c_str());
        return false;
    }
    return true;
}

} // namespace hpactl
