#include "platform/qt/QtProfile.h"

#include <QSettings>

namespace hpa {

namespace {

QString Key(const std::string& strSection, const std::string& strEntry)
{
    return QString::fromStdString(strSection) + QLatin1Char('/') + QString::fromStdString(strEntry);
}

} // namespace

std::string CQtProfile::GetString(const std::string& strSection, const std::string& strEntry,
                                  const std::string& strDefault) const
{
    QSettings settings(QStringLiteral("HPA"), QStringLiteral("HPA"));
    QVariant value = settings.value(Key(strSection, strEntry));
    if (!value.isValid())
        return strDefault;
    return value.toString().toStdString();
}

bool CQtProfile::WriteString(const std::string& strSection, const std::string& strEntry,
                             const std::string& strValue)
{
    QSettings settings(QStringLiteral("HPA"), QStringLiteral("HPA"));
    settings.setValue(Key(strSection, strEntry), QString::fromStdString(strValue));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace hpa
