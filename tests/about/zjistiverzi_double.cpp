#include "zjistiverzi_double.h"

#include "update/zjistiverzi.h"

QList<ZjistiVerziCall> zjistiVerziCalls;

namespace {
QByteArray text(const char *value)
{
    return value ? QByteArray(value) : QByteArray();
}
} // namespace

extern "C" int ZjistiVerzi(const char *remoteVersionUrl, const char *localVersionPath, const char *downloadPageUrl,
                           const char *tempDir, int32_t notifyUser, unsigned char *newerAvailable)
{
    zjistiVerziCalls.append({remoteVersionUrl == nullptr, localVersionPath == nullptr, downloadPageUrl == nullptr,
                             tempDir == nullptr, text(remoteVersionUrl), text(localVersionPath),
                             text(downloadPageUrl), text(tempDir), notifyUser, newerAvailable == nullptr,
                             newerAvailable ? int(*newerAvailable) : -1});
    // The program must not care what comes back.
    if (newerAvailable)
        *newerAvailable = 1;
    return ZV_NEWER;
}
