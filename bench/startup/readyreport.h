#pragma once

class QWebEnginePage;
class QWidget;

// Prints "ready" on standard output once the window is shown and the page has finished
// loading, so the bench driver can take its measurements at the same point for both programs.
void reportWhenReady(QWidget *window, QWebEnginePage *page);
