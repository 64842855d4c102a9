#include "app/kavelinmain.h"

int main(int argc, char *argv[])
{
    return kavelinMain(argc, argv);
}
