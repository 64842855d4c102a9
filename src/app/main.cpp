#include "app/localscheme.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    localscheme::registerScheme();
    QApplication app(argc, argv);
    return 0;
}
