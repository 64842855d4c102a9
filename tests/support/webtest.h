#pragma once

#include "app/localscheme.h"

// Start-up shared by the tests that run the real web engine: call before the application
// object exists (QTEST_MAIN does not allow that, hence KAVELIN_WEBTEST_MAIN).
namespace webtest {
void prepareEnvironment();
}

#define KAVELIN_WEBTEST_MAIN(TestClass)                                  \
    int main(int argc, char **argv)                                      \
    {                                                                    \
        webtest::prepareEnvironment();                                   \
        localscheme::registerScheme();                                   \
        QApplication app(argc, argv);                                    \
        TestClass tc;                                                    \
        QTEST_SET_MAIN_SOURCE_PATH                                       \
        return QTest::qExec(&tc, argc, argv);                            \
    }
