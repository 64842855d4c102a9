#pragma once

#include <QString>

// The first line of the version file, or why it could not be read.
struct VersionFileLine {
    bool ok = false;
    QString line;   // up to the first line break, not trimmed
    QString error;  // the input/output error's description ("File not found") when !ok
};

VersionFileLine readVersionFileLine(const QString &path);

// The about window's version line: "Verze programu: " and the first line with its first "."
// deleted (1.2.3 shows as 12.3).
QString versionLabelText(const QString &firstLine);
