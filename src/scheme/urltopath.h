#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Turning a URL of the "local" scheme into a file-system path.
namespace urltopath {

// Percent-decoding byte by byte: "+" is a space, "%%" is one "%", "%" and two hexadecimal
// digits is the byte they give. A "%" with fewer than two characters after it, or with
// characters that are not hexadecimal digits, makes the whole text invalid (no value).
std::optional<QByteArray> percentDecode(QByteArrayView encoded);

// The path a URL such as local://home/ann/x%20y/?q=1 names: the host is the first folder
// under the root and the rest follows it, so that URL gives "/home/ann/x y/". The text is
// percent-decoded, read as UTF-8 and cut at its first "?" (the query). A URL without
// "scheme://host/", a malformed escape, bytes that are not UTF-8 or a NUL give an empty path.
QString urlToPath(QByteArrayView url);

} // namespace urltopath
