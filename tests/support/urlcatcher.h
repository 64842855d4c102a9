#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Receives what the code under test hands to the system's web browser, once installed with
// QDesktopServices::setUrlHandler(scheme, &catcher, "open").
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};
