#include "view/qt/PrintingDialog.h"

#include "platform/qt/IdleProcessing.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace hpa {

CPrintingDialog::CPrintingDialog(const QString& strDocName, const QString& strDestination,
                                 QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Printing"));
    setModal(true);
    auto* pLayout = new QVBoxLayout(this);
    auto* pDoc = new QLabel(strDocName, this);
    pDoc->setAlignment(Qt::AlignHCenter);
    auto* pWhere = new QLabel(QStringLiteral("on %1").arg(strDestination), this);
    pWhere->setAlignment(Qt::AlignHCenter);
    m_pPage = new QLabel(this);
    m_pPage->setAlignment(Qt::AlignHCenter);
    pLayout->addWidget(pDoc);
    pLayout->addWidget(pWhere);
    pLayout->addWidget(m_pPage);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CPrintingDialog::reject);
    pLayout->addWidget(pButtons);
}

bool CPrintingDialog::OnPageStart(int nPage)
{
    m_pPage->setText(QStringLiteral("Page %1").arg(nPage));
    if (!isVisible())
        show();
    // Paints, timers and the Cancel button get their turn between pages;
    // input to other windows waits, the dialog being modal.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    RunIdleProcessing();
    return !m_bCancelled;
}

QString CPrintingDialog::PageText() const
{
    return m_pPage->text();
}

void CPrintingDialog::reject()
{
    // The job ends at the next page; the dialog goes with the job.
    m_bCancelled = true;
}

} // namespace hpa
