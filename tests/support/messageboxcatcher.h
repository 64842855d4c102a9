#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the program's modal message boxes while a test runs: records each box's text and
// presses its default button, so a handler that shows one returns.
class MessageBoxCatcher : public QObject
{
    Q_OBJECT
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    explicit MessageBoxCatcher(QObject *parent = nullptr);

    QList<Box> boxes;
    QStringList texts() const;

private:
    void answer();
    QTimer m_timer;
};
