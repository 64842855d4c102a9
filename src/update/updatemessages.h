#pragma once

#include "updatecheck.h"

#include <QString>

// What the user is told about a finished check, in Czech. For a newer version the text ends
// with the question whether to open the download page when there is one to open.
QString updateMessageText(const UpdateCheckResult &result, bool offerDownload);

// The reason part of a failure message ("server neodpověděl do 10 sekund").
QString failureReason(const UpdateCheckResult &result);
