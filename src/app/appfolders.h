#pragma once

#include <QString>

// Where the program keeps its files. A copy whose folder the user can write to (the build
// folder, a copied folder) is portable and keeps everything where it always has: the settings
// beside the program, the browser profile in cache/ under the current directory. A copy
// installed in a system folder keeps them in the user's own folders instead.

// What the decision rests on, gathered from the system by currentFolderFacts().
struct FolderFacts
{
    QString programDir;            // the running program's folder
    bool programDirWritable = false;
    QString currentDir;            // the process's current directory
    QString configLocation;        // the user's configuration folder for the program
    QString dataLocation;          // the user's data folder for the program
    QString installedDataDir;      // read-only data of an installed copy (its version file)
    bool versionBesideProgram = false;   // kavelin.txt lies in programDir
    bool settingsBesideProgram = false;  // nastaveni.ini lies in programDir
    bool settingsInConfig = false;       // nastaveni.ini lies in configLocation
};

struct AppFolders
{
    bool portable = false;
    QString settingsFolder;     // nastaveni.ini and its temporaries
    QString profileFolder;      // the browser's profile and the lock of the running copy
    QString bidRecordsFolder;   // the records of bids
    QString versionFile;        // kavelin.txt, read by the about window and the update check
    QString settingsToAdopt;    // a settings file to carry into settingsFolder first; empty if none
};

AppFolders chooseFolders(const FolderFacts &facts);

// The facts of this process. installedDataFromProgram: the installed data folder relative to
// the program's folder, fixed when the program is built ("../share/kavelin").
FolderFacts currentFolderFacts(const QString &installedDataFromProgram);

// Makes the settings and profile folders and carries an older settings file over into the
// settings folder. Returns the folder that could not be made; empty when all is ready.
QString prepareFolders(const AppFolders &folders);

// What the about window says about where the settings are.
QString installationText(const AppFolders &folders);
