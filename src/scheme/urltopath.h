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

// The path a URL such as local://home/ann/x%20y/?q=1 names, as the bytes the file system
// takes: the host is the first folder under the root and the rest follows it, so that URL
// gives "/home/ann/x y/". The query (from the first "?" of the URL) is dropped before the
// rest is percent-decoded, so an escaped "%3F" stays in the name. The bytes need not be
// UTF-8: a name that is not valid UTF-8 is reached through the escapes of its raw bytes.
// A URL without "scheme://host/", a malformed escape or a NUL give an empty path.
QByteArray urlToNativePath(QByteArrayView url);

// The same path as text, for showing: bytes that are not UTF-8 read as U+FFFD.
QString urlToPath(QByteArrayView url);

// A name's raw bytes as one segment of a URL path: every byte but the unreserved ASCII
// letters, digits and "-._~" is written as "%XX", so that the segment leads back to exactly
// these bytes through urlToNativePath ("+" as %2B, "%" as %25, "?" as %3F, "#" as %23).
QByteArray percentEncodeName(QByteArrayView raw);

} // namespace urltopath
