#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Closes every modal message box as soon as it opens and keeps its text, so that handlers
// that wait for the user's OK go on.
class ModalCloser : public QObject
{
public:
    QStringList texts;

    ModalCloser()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                box->accept();
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};
