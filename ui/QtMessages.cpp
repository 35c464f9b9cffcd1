#include "ui/QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace hpa {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void CQtMessages::Exclamation(const std::string& strText)
{
    QApplication::beep();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("HPA"), QString::fromLocal8Bit(strText),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void CQtMessages::Inform(const std::string& strText, const std::string& strCaption,
                         MessageIcon icon)
{
    QMessageBox box(ToQtIcon(icon), QString::fromLocal8Bit(strCaption),
                    QString::fromLocal8Bit(strText), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

MessageAnswer CQtMessages::AskYesNo(const std::string& strText)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("HPA"), QString::fromLocal8Bit(strText),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace hpa
