#pragma once

#include <QString>

// The windows are laid out for Tahoma. Debian's fonts-wine carries a Tahoma with the same
// metrics outside the fonts the system offers; this makes it the application's own.
inline const QString wineFontsFolder = QStringLiteral("/usr/share/wine/fonts");

// Adds Tahoma (regular and bold) from folder to the application's fonts; returns how many
// faces were added, 0 when the font is not there.
int loadTahoma(const QString &folder = wineFontsFolder);
