#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A version as dotted decimal numbers ("1.2.10"). Surrounding blanks are ignored; every part
// must be a non-empty run of digits. Parts may be arbitrarily long.
std::optional<QStringList> parseVersion(const QString &text);

// Compares two parsed versions part by part as numbers; missing parts count as 0, so 1.2 and
// 1.2.0 are equal. Returns a negative number, 0 or a positive number.
int compareVersions(const QStringList &a, const QStringList &b);
