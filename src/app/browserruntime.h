#pragma once

#include <QString>

class QObject;
class QWebEngineProfile;

// The web engine as a whole: its process-wide settings, its profile and whether it can start.
namespace browserruntime {

// Before the application object exists: quiet logging, the X11 platform unless the user chose
// one, and the "local" scheme.
void prepareProcess();

// Empty when the engine's helper process and resources are there; otherwise what is missing,
// for the user.
QString missingEngineReason();

// The named, persistent profile: cache, cookies and local storage under cacheDir (created if
// needed), with the "local" scheme's handler and the guard on local pages installed.
QWebEngineProfile *createProfile(const QString &cacheDir, QObject *parent = nullptr);

} // namespace browserruntime
