#pragma once
// The chart beside the History window's pivot: total sheets by key. Users,
// printers and hosts are bars (the 20 with the most sheets); days and
// months a line over time. It can go to the clipboard as an image and into
// a PNG or SVG file.
#include "history/HistoryReport.h"

#include <QChartView>
#include <QString>

namespace hpa {

class CHistoryChart : public QChartView {
    Q_OBJECT
public:
    explicit CHistoryChart(QWidget* pParent = nullptr);

    // Replaces what the chart shows with the report's sheets.
    void ShowReport(const CReport& report);
    // How many bars or points it shows.
    int PointCount() const { return m_nPoints; }

    // The chart as an image of its current size.
    QImage Image();
    void CopyImage();
    // PNG, or SVG when the name ends in ".svg" (any case); false when the
    // file could not be written.
    bool SaveImage(const QString& strPath);

private:
    int m_nPoints = 0;
};

} // namespace hpa
