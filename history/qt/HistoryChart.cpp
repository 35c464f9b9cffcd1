#include "history/qt/HistoryChart.h"

#include "history/HistoryPivot.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QClipboard>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFont>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <charconv>

namespace hpa {

namespace {

QString KeyText(const std::string& strKey)
{
    return QString::fromStdString(ToUtf8(strKey));
}

// Most labels a time axis gets.
constexpr int kMaxTimeTicks = 12;

// A day key (YYYY-MM-DD) at its noon, a month key (YYYY-MM) at its 15th, in
// local time as the time axis labels it: evenly spaced ticks between such
// points then fall into the day or month they name. nLocalOffsetMs is local
// time's offset from UTC now; a noon moved by a daylight saving hour stays
// within its day.
qint64 KeyTime(const std::string& strKey, qint64 nLocalOffsetMs)
{
    auto fnNumber = [&strKey](std::size_t nAt, std::size_t nLength) {
        int n = 0;
        if (strKey.size() >= nAt + nLength)
            std::from_chars(strKey.data() + nAt, strKey.data() + nAt + nLength, n);
        return n;
    };
    const QDate date(fnNumber(0, 4), fnNumber(5, 2), strKey.size() == 7 ? 15 : fnNumber(8, 2));
    constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
    const qint64 nDays = date.toJulianDay() - QDate(1970, 1, 1).toJulianDay();
    return nDays * kDayMs + kDayMs / 2 - nLocalOffsetMs;
}

} // namespace

CHistoryChart::CHistoryChart(QWidget* pParent) : QChartView(pParent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->hide();
    setMinimumSize(320, 240);
}

void CHistoryChart::ShowReport(const CReport& report)
{
    const std::vector<CChartPoint> points = ReportChartPoints(report);
    m_nPoints = static_cast<int>(points.size());
    // One chart for the view's life, emptied and filled again: a chart put
    // in place of another is laid out before it has the view's size and
    // elides its category labels.
    QChart* pChart = chart();
    pChart->removeAllSeries();
    for (QAbstractAxis* pAxis : pChart->axes()) {
        pChart->removeAxis(pAxis);
        delete pAxis;
    }
    const QString strKey = QString::fromLatin1(ReportKeyHeading(report.m_query.m_key)).toLower();
    std::int64_t nMax = 1;
    for (const CChartPoint& point : points)
        nMax = std::max(nMax, point.m_nTotalSheets);
    auto* pValues = new QValueAxis;
    pValues->setRange(0, static_cast<double>(nMax) * 1.05);
    pValues->setLabelFormat(QStringLiteral("%.0f"));
    pValues->setTitleText(QStringLiteral("Total sheets"));

    if (IsTimeLineKey(report.m_query.m_key)) {
        pChart->setTitle(QStringLiteral("Total sheets by %1").arg(strKey));
        // All points in one go: appended one by one, each would be drawn anew.
        QList<QPointF> line;
        line.reserve(static_cast<qsizetype>(points.size()));
        // Local time's offset taken once: converting each of thousands of
        // days asks the time zone each time.
        const qint64 nLocalOffsetMs =
            points.empty() ? 0 : qint64(QDateTime::currentDateTime().offsetFromUtc()) * 1000;
        for (const CChartPoint& point : points)
            line.append(QPointF(static_cast<double>(KeyTime(point.m_strKey, nLocalOffsetMs)),
                                static_cast<double>(point.m_nTotalSheets)));
        auto* pSeries = new QLineSeries;
        pSeries->replace(line);
        pSeries->setPointsVisible(points.size() <= 100);
        pChart->addSeries(pSeries);
        auto* pTime = new QDateTimeAxis;
        pTime->setFormat(report.m_query.m_key == ReportKey::Month ? QStringLiteral("yyyy-MM")
                                                                  : QStringLiteral("yyyy-MM-dd"));
        pTime->setTickCount(std::clamp(static_cast<int>(points.size()), 2, kMaxTimeTicks));
        if (points.size() == 1) {
            // One point: a day either side, so the axis has a span.
            pTime->setTickCount(3);
            const qint64 nAt = KeyTime(points.front().m_strKey, nLocalOffsetMs);
            pTime->setRange(QDateTime::fromMSecsSinceEpoch(nAt).addDays(-1),
                            QDateTime::fromMSecsSinceEpoch(nAt).addDays(1));
        }
        pChart->addAxis(pTime, Qt::AlignBottom);
        pChart->addAxis(pValues, Qt::AlignLeft);
        pSeries->attachAxis(pTime);
        pSeries->attachAxis(pValues);
    } else {
        pChart->setTitle(
            QStringLiteral("Total sheets by %1 (largest %2)").arg(strKey).arg(points.size()));
        // Largest at the top: a horizontal bar series draws its first
        // category at the bottom.
        auto* pSet = new QBarSet(QStringLiteral("Total sheets"));
        QStringList keys;
        for (auto it = points.rbegin(); it != points.rend(); ++it) {
            *pSet << static_cast<double>(it->m_nTotalSheets);
            keys << KeyText(it->m_strKey);
        }
        auto* pSeries = new QHorizontalBarSeries;
        pSeries->append(pSet);
        pChart->addSeries(pSeries);
        auto* pKeys = new QBarCategoryAxis;
        pKeys->append(keys);
        // A label taller than its bar's share of the axis is cut to "...":
        // twenty keys get a smaller font.
        QFont font = pKeys->labelsFont();
        font.setPointSizeF(std::min(font.pointSizeF(), 7.0));
        pKeys->setLabelsFont(font);
        pChart->addAxis(pKeys, Qt::AlignLeft);
        pChart->addAxis(pValues, Qt::AlignBottom);
        pSeries->attachAxis(pKeys);
        pSeries->attachAxis(pValues);
    }
}

QImage CHistoryChart::Image()
{
    return grab().toImage();
}

void CHistoryChart::CopyImage()
{
    QApplication::clipboard()->setImage(Image());
}

bool CHistoryChart::SaveImage(const QString& strPath)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (strPath.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size());
        svg.setViewBox(rect());
        svg.setTitle(chart()->title());
        QPainter painter(&svg);
        render(&painter);
        painter.end();
    } else if (!Image().save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace hpa
