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

void CStatusPane::FitToSample()
{
    const int nText = QFontMetrics(font()).horizontalAdvance(m_strSample);
    setFixedWidth(nText + 2 * frameWidth());
}

} // namespace hpa
