#include "ui/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

namespace hpa {

CDialogUnits::CDialogUnits(const QFont& font)
{
    // The average width is taken over the 52 letters, rounded, as the
    // dialog manager does it.
    const QFontMetrics fm(font);
    const int nWidth = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (nWidth / 26 + 1) / 2;
    m_nBaseY = fm.height();
    if (m_nBaseX < 1)
        m_nBaseX = 1;
    if (m_nBaseY < 1)
        m_nBaseY = 1;
}

QFont CDialogUnits::DialogFont(int nPointSize)
{
    QFont font = QApplication::font();
    font.setPointSize(nPointSize);
    return font;
}

} // namespace hpa
