#pragma once

#include <QByteArray>
#include <QList>

// What the stand-in for the update library received, one entry per call. A null pointer is
// kept apart from an empty text.
struct ZjistiVerziCall {
    bool remoteNull, localNull, downloadNull, tempNull;
    QByteArray remote, local, download, temp;
    qint32 notifyUser;
    bool flagNull;
    int flagOnEntry;
};

extern QList<ZjistiVerziCall> zjistiVerziCalls;
