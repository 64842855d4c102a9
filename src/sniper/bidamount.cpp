#include "sniper/bidamount.h"

#include <QRegularExpression>

std::optional<QString> positiveAmount(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+(?:[.,][0-9]{1,2})?$"));
    const QString amount = text.trimmed();
    if (!pattern.match(amount).hasMatch())
        return std::nullopt;
    // More than zero: some digit other than 0.
    for (const QChar c : amount) {
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            return amount;
    }
    return std::nullopt;
}
