#pragma once
// Dialog templates give positions in dialog units: a quarter of the dialog
// font's average character width across, an eighth of its height down.
// This converts them to pixels for a font, so the dialogs keep their
// designed proportions with whatever font the desktop resolves to.
#include <QFont>
#include <QRect>

namespace hpa {

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int nUnits) const { return (nUnits * m_nBaseX + 2) / 4; }
    int Y(int nUnits) const { return (nUnits * m_nBaseY + 4) / 8; }
    QRect Rect(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

    // "MS Sans Serif" at a point size: the desktop's UI font at that size.
    static QFont DialogFont(int nPointSize = 8);

private:
    int m_nBaseX;
    int m_nBaseY;
};

} // namespace hpa
