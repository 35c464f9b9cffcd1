#pragma once
// Help > About HPA...: caption, program name, version and an OK button.
#include <QDialog>

class QLabel;
class QPushButton;

namespace hpa {

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* pParent = nullptr);

    QLabel* NameLabel() const { return m_pName; }
    QLabel* VersionLabel() const { return m_pVersion; }
    QPushButton* OkButton() const { return m_pOk; }

private:
    QLabel* m_pName;
    QLabel* m_pVersion;
    QPushButton* m_pOk;
};

} // namespace hpa
