#include "browser/downloadoffer.h"

#include "scheme/listingtext.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QWebEngineDownloadRequest>

DownloadOffer::DownloadOffer(QWebEngineDownloadRequest *download, const QString &folder, QWidget *window)
    : QObject(download)
    , m_download(download)
{
    QDir().mkpath(folder);
    download->setDownloadDirectory(folder);
    download->accept();
    download->pause();

    const QString size = download->totalBytes() >= 0
        ? QStringLiteral(" (%1)").arg(listingtext::sizeText(download->totalBytes(), QLocale::system()))
        : QString();
    m_box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Kavelin"),
                            QStringLiteral("Stáhnout soubor „%1“%2 do složky %3?")
                                .arg(download->downloadFileName(), size, QDir::toNativeSeparators(folder)),
                            QMessageBox::NoButton, window);
    QPushButton *save = m_box->addButton(QStringLiteral("Stáhnout"), QMessageBox::AcceptRole);
    m_box->addButton(QStringLiteral("Zrušit"), QMessageBox::RejectRole);
    m_box->setDefaultButton(save);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->setWindowModality(Qt::NonModal);
    connect(m_box, &QMessageBox::finished, this, [this, save] { answer(m_box && m_box->clickedButton() == save); });
    m_box->show();
}

void DownloadOffer::answer(bool save)
{
    if (!m_download)
        return;
    if (save) {
        m_download->resume();
        return;
    }
    const QString path = QDir(m_download->downloadDirectory()).filePath(m_download->downloadFileName());
    const bool complete = m_download->isFinished() && m_download->state() == QWebEngineDownloadRequest::DownloadCompleted;
    m_download->cancel();
    if (complete) {
        QFile::remove(path);
        return;
    }
    // A small file may still finish in the moment the cancel takes to arrive: it goes then.
    QWebEngineDownloadRequest *download = m_download;
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, [download, path] {
        if (download->state() == QWebEngineDownloadRequest::DownloadCompleted)
            QFile::remove(path);
    });
}
