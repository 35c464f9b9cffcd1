#include "app/AboutDialog.h"

#include "hpa_version.h"
#include "ui/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace hpa {

// The About box's layout: 136 x 89 dialog units in the 8-point dialog font.
CAboutDialog::CAboutDialog(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("About HPA"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(CDialogUnits::DialogFont(8));
    const CDialogUnits du(font());
    setFixedSize(du.X(136), du.Y(89));

    m_pName = new QLabel(QStringLiteral("Halyard Printer Auditor"), this);
    m_pName->setAlignment(Qt::AlignCenter);
    m_pName->setGeometry(du.Rect(7, 16, 122, 9));

    m_pVersion = new QLabel(QStringLiteral("Version ") + QStringLiteral(HPA_VERSION_STRING), this);
    m_pVersion->setAlignment(Qt::AlignCenter);
    m_pVersion->setGeometry(du.Rect(7, 32, 122, 9));

    m_pOk = new QPushButton(QStringLiteral("OK"), this);
    m_pOk->setGeometry(du.Rect(43, 64, 50, 14));
    m_pOk->setDefault(true);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace hpa
