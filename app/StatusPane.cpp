#include "app/StatusPane.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace hpa {

CStatusPane::CStatusPane(const QString& strSizeSample, QWidget* pParent)
    : QLabel(pParent), m_strSample(strSizeSample)
{
    // A sunken box of its own: styles differ in whether and where they draw
    // a label's frame inside a status bar. Inside the box's one-pixel line
    // the text keeps a margin of three pixels on either side, so letters
    // such as J, which reach left of their origin, stay clear of the line.
    setFrameStyle(QFrame::NoFrame);
    setContentsMargins(kFrameLine + kTextMargin, 1, kFrameLine + kTextMargin, 1);
    setMargin(0);
    setIndent(0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FitToSample();
}

void CStatusPane::changeEvent(QEvent* pEvent)
{
    QLabel::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange || pEvent->type() == QEvent::StyleChange)
        FitToSample();
}

bool CStatusPane::event(QEvent* pEvent)
{
    // The style settles the frame's width only when it polishes the pane.
    const bool bResult = QLabel::event(pEvent);
    if (pEvent->type() == QEvent::Polish)
        FitToSample();
    return bResult;
}

void CStatusPane::paintEvent(QPaintEvent* pEvent)
{
    QLabel::paintEvent(pEvent);
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void CStatusPane::FitToSample()
{
    // Whatever the frame and margins take (the style decides how much of the
    // frame lies inside the pane) comes on top of the text width.
    const int nText = QFontMetrics(font()).horizontalAdvance(m_strSample);
    const int nChrome = width() - contentsRect().width();
    setFixedWidth(nText + nChrome);
}

} // namespace hpa
