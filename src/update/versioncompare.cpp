#include "versioncompare.h"

namespace {
// The digits without leading zeros; "0" stays "0" so that empty never stands for a number.
QStringView significant(const QString &part)
{
    qsizetype i = 0;
    while (i + 1 < part.size() && part.at(i) == QLatin1Char('0'))
        ++i;
    return QStringView(part).mid(i);
}

int comparePart(const QString &a, const QString &b)
{
    const QStringView x = significant(a);
    const QStringView y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}
} // namespace

std::optional<QStringList> parseVersion(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QStringList parts = trimmed.split(QLatin1Char('.'));
    for (const QString &part : parts) {
        if (part.isEmpty())
            return std::nullopt;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
    }
    return parts;
}

int compareVersions(const QStringList &a, const QStringList &b)
{
    const QString zero = QStringLiteral("0");
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
        const int order = comparePart(i < a.size() ? a.at(i) : zero, i < b.size() ? b.at(i) : zero);
        if (order != 0)
            return order < 0 ? -1 : 1;
    }
    return 0;
}
