#include "webtest.h"

#include <QStandardPaths>
#include <QtGlobal>
#include <unistd.h>

namespace webtest {

void prepareEnvironment()
{
    // Chromium refuses to run as root with its sandbox on; tests switch it off for themselves.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_LOGGING_RULES", "js*=false;qt.webenginecontext*=false");
    // Records of bids and other data of the user's go to the test's own folders.
    QStandardPaths::setTestModeEnabled(true);
}

} // namespace webtest
