#pragma once

#include <QString>

// Empty when the program can open its windows; otherwise why it cannot, for the user. Under the
// X11 platform (the program's own choice unless the user chose another) it opens the display
// once and closes it again. Runs before the application object exists, whose creation would
// otherwise end the process with an abort.
QString windowSystemProblem();
