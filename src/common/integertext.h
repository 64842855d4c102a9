#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <stdexcept>

// A text that should have held an integer and did not.
class ConversionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An integer written as decimal digits with an optional sign, or as hexadecimal after "0x" /
// "0X" (more than two characters in all). The value must fit a signed 32-bit integer; a
// hexadecimal value up to 0xFFFFFFFF is taken as its 32-bit pattern (0xFFFFFFFF is -1).
// Nothing else is allowed in the text, not even blanks.
std::optional<qint32> parseInt32(QStringView text);

// The integer of an edit box as the user typed it: blanks before it are skipped. Throws
// ConversionError "'<text>' is not a valid integer value" when it is not an integer.
qint32 textToInt(const QString &text);
