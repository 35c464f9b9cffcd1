#pragma once
// The "Printing" dialog shown while the view prints: the document, where it
// goes, the page being printed, and Cancel. Between pages it lets the event
// loop run, so the windows keep painting; Cancel (or Escape, or closing
// it) stops the job before its next page.
#include <QDialog>

class QLabel;

namespace hpa {

class CPrintingDialog : public QDialog {
    Q_OBJECT
public:
    CPrintingDialog(const QString& strDocName, const QString& strDestination,
                    QWidget* pParent = nullptr);

    // Shows the page about to be printed and runs the events that are
    // waiting; false once the user cancelled.
    bool OnPageStart(int nPage);
    bool IsCancelled() const { return m_bCancelled; }
    QString PageText() const;

protected:
    void reject() override;

private:
    QLabel* m_pPage = nullptr;
    bool m_bCancelled = false;
};

} // namespace hpa
