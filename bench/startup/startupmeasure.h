#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>

// One start of a program that prints "ready" when its window is up: the time until then, and
// the memory of its whole process tree at that moment.
struct StartupSample
{
    double ms = 0;       // 0 when the program never said it was ready
    double rssMb = 0;
    double pssMb = 0;
    QString output;      // what it printed before "ready"
};

// Starts program in a fresh working folder with env (the caller's environment when empty) and
// ends it once measured.
StartupSample measureStartup(const QString &program, const QProcessEnvironment &env = {});

double median(QList<double> values);
