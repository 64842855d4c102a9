#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Answers the message boxes that code under test opens with exec(): it notes each box's
// title, text and buttons, then presses the button with the given caption (or the first).
class MessageBoxAnswerer : public QObject
{
public:
    struct Seen {
        QString title;
        QString text;
        QStringList buttons;
        QMessageBox::Icon icon;
    };

    explicit MessageBoxAnswerer(const QString &answer = QString())
        : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::check);
        m_timer.start(20);
    }

    QList<Seen> seen;

    QStringList texts() const
    {
        QStringList out;
        for (const Seen &box : seen)
            out.append(box.text);
        return out;
    }

private:
    void check()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == m_last)
            return;
        m_last = box;
        Seen entry{box->windowTitle(), box->text(), {}, box->icon()};
        QAbstractButton *press = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            entry.buttons.append(button->text());
            if (button->text() == m_answer)
                press = button;
        }
        if (!press && !box->buttons().isEmpty())
            press = box->buttons().first();
        seen.append(entry);
        if (press)
            press->click();
    }

    QString m_answer;
    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};
