#pragma once

#include <QApplication>

// The application object. An exception that escapes any event handler ends up here: it is
// shown in the error box and the program goes on.
class KavelinApplication : public QApplication
{
    Q_OBJECT
public:
    KavelinApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
