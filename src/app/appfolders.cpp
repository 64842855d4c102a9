#include "app/appfolders.h"

#include "sniper/positions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString versionFileName = QStringLiteral("kavelin.txt");
const QString profileName = QStringLiteral("cache");
const QString bidRecordsName = QStringLiteral("prihozy");

QString inFolder(const QString &folder, const QString &name)
{
    return QDir::cleanPath(QDir(folder).filePath(name));
}
} // namespace

AppFolders chooseFolders(const FolderFacts &facts)
{
    AppFolders folders;
    folders.portable = facts.programDirWritable;
    folders.versionFile = facts.versionBesideProgram ? inFolder(facts.programDir, versionFileName)
                                                     : inFolder(facts.installedDataDir, versionFileName);
    if (folders.portable) {
        folders.settingsFolder = QDir::cleanPath(facts.programDir);
        folders.profileFolder = inFolder(facts.currentDir, profileName);
        // The records of bids are the user's, in a copied folder as well as an installed one.
        folders.bidRecordsFolder = inFolder(facts.dataLocation, bidRecordsName);
        return folders;
    }
    folders.settingsFolder = QDir::cleanPath(facts.configLocation);
    folders.profileFolder = inFolder(facts.dataLocation, profileName);
    folders.bidRecordsFolder = inFolder(facts.dataLocation, bidRecordsName);
    // Positions taught before the program was installed are carried over once; after that the
    // user's own file is the one that counts.
    if (facts.settingsBesideProgram && !facts.settingsInConfig)
        folders.settingsToAdopt = settingsPath(facts.programDir);
    return folders;
}

FolderFacts currentFolderFacts(const QString &installedDataFromProgram)
{
    FolderFacts facts;
    facts.programDir = QCoreApplication::applicationDirPath();
    facts.programDirWritable = QFileInfo(facts.programDir).isWritable();
    facts.currentDir = QDir::currentPath();
    facts.configLocation = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    facts.dataLocation = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    facts.installedDataDir = QDir(facts.programDir).absoluteFilePath(installedDataFromProgram);
    facts.versionBesideProgram = QFileInfo::exists(inFolder(facts.programDir, versionFileName));
    facts.settingsBesideProgram = QFileInfo::exists(settingsPath(facts.programDir));
    facts.settingsInConfig = QFileInfo::exists(settingsPath(facts.configLocation));
    return facts;
}

QString prepareFolders(const AppFolders &folders)
{
    for (const QString &folder : {folders.settingsFolder, folders.profileFolder}) {
        if (!QDir().mkpath(folder))
            return folder;
    }
    if (!folders.settingsToAdopt.isEmpty()) {
        const QString target = settingsPath(folders.settingsFolder);
        // The copy is the user's to rewrite, whoever owned the original.
        if (QFile::copy(folders.settingsToAdopt, target))
            QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return {};
}

QString installationText(const AppFolders &folders)
{
    if (folders.portable)
        return QStringLiteral("Přenosná instalace: nastavení vedle programu");
    return QStringLiteral("Nainstalováno: nastavení v\n") + QDir::toNativeSeparators(folders.settingsFolder);
}
