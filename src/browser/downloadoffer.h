#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <QMessageBox>
#include <QWebEngineDownloadRequest>

class QWidget;

// A download that a page started (a file of a type the browser does not show), offered to the
// user in a box that blocks no window: saved into the download folder when the user agrees,
// cancelled and removed otherwise. The engine drops a download that is not accepted at once,
// so it is accepted and held paused while the box is open.
class DownloadOffer : public QObject
{
    Q_OBJECT
public:
    DownloadOffer(QWebEngineDownloadRequest *download, const QString &folder, QWidget *window);

    QMessageBox *box() const { return m_box; }

private:
    void answer(bool save);

    QPointer<QWebEngineDownloadRequest> m_download;
    QPointer<QMessageBox> m_box;
};
