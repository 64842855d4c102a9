#include "app/kavelinmain.h"

int main(int argc, char *argv[])
{
    // The build says where an installed copy's data lie relative to the program.
    return kavelinMain(argc, argv, {}, QStringLiteral(KAVELIN_DATA_FROM_PROGRAM));
}
