#pragma once

#include <QString>

#include <optional>

// The amount to bid as the user typed it: digits, optionally followed by one decimal comma or
// point with one or two digits, blanks around it ignored, and more than zero. Returns the text
// without the blanks, or nothing when the text is not such an amount.
std::optional<QString> positiveAmount(const QString &text);
