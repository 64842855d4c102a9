#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// The program's INI files: "[section]" lines, then "key=value" lines. Section and key names
// are compared without regard to case; blanks around names and values do not count. The
// first matching section and, within it, the first matching key are the ones that count.
namespace ini {

using Entry = QPair<QString, QString>;

// The value of key in section within the file's bytes (UTF-8); empty when either is missing.
QString valueIn(const QByteArray &content, const QString &section, const QString &key);

// The file's bytes with key set to value in section: an existing key line is replaced where it
// stands, a missing key is added after the last non-blank line of its section, a missing section
// is added at the end. Every other line stays byte for byte, line endings included.
QByteArray withValue(const QByteArray &content, const QString &section, const QString &key, const QString &value);

// Reads a value from the file at path; empty when the file cannot be read.
QString readString(const QString &path, const QString &section, const QString &key);

// Sets the entries, in order, in the file at path, creating the file when it is missing. The
// new content goes to a temporary file in the same folder (temporaryPath) that then replaces
// the file, so the file is either the old or the new one, never a broken one. On failure
// returns false and puts the reason into error; the file is then unchanged.
bool writeStrings(const QString &path, const QString &section, const QList<Entry> &entries, QString *error);

// The temporary file through which process pid writes the file at path: beside it, named after
// it with ".tmp-" and the process number ("nastaveni.ini.tmp-4711").
QString temporaryPath(const QString &path, qint64 pid);

// Removes the temporary files of the file at path that writes of processes no longer running
// left behind when they were ended before the rename. Returns the names removed.
QStringList removeStrayTemporaries(const QString &path, const std::function<bool(qint64 pid)> &processRunning);

} // namespace ini
