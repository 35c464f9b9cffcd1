#include "app/StatusPane.h"

#include <QEvent>
#include <QFontMetrics>

namespace hpa {

CStatusPane::CStatusPane(const QString& strSizeSample, QWidget* pParent)
    : QLabel(pParent), m_strSample(strSizeSample)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setContentsMargins(0, 0, 0, 0);
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

void CStatusPane::FitToSample()
{
    // Whatever the frame and margins take (the style decides how much of the
    // frame lies inside the pane) comes on top of the text width.
    const int nText = QFontMetrics(font()).horizontalAdvance(m_strSample);
    const int nChrome = width() - contentsRect().width();
    setFixedWidth(nText + nChrome);
}

} // namespace hpa
