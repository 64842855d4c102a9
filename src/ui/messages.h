#pragma once

#include <QString>

class QWidget;

// The text of the error box: the message, with a full stop added when its last character
// sorts after ".".
QString errorBoxText(const QString &message);

// The error box shown for an error that no handler dealt with: title "Kavelin", error icon, OK.
void showErrorBox(const QString &message, QWidget *parent = nullptr);

// A plain message box of the program: title "Kavelin", no icon, one OK button; waits for it.
void showMessage(const QString &message, QWidget *parent = nullptr);

// A question of the program: title "Kavelin", no icon, buttons "Ano" and "Ne"; true for "Ano".
bool askYesNo(const QString &question, QWidget *parent = nullptr);

// Closes the dialogs and menus the program has open, so that nothing holds input back from its
// main window.
void closeProgramDialogs();
