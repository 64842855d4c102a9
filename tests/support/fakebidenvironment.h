#pragma once

#include "sniper/bidenvironment.h"

#include <QMap>
#include <QStringList>

#include <functional>

// The bid's surroundings played by the test: every call is written to log (shared with a
// recording input sink, so input and checks stand in one order), and the answers are fields the
// test sets. By default every check holds: positions 1 to 3 taught, a text field at 1, buttons
// at 2 and 3, nothing covered, the keyboard ours, the field holding what was pasted and the
// confirmation page loading at once.
class FakeBidEnvironment : public BidEnvironment
{
public:
    QStringList *log = nullptr;
    QMap<int, QPoint> pixels{{1, {100, 200}}, {2, {300, 400}}, {3, {500, 600}}};
    QMap<int, PageTarget> targets;
    bool pageAnswers = true;
    int covered = -1;                 // the index firstCovered answers
    bool keyboard = true;
    std::optional<QString> fieldValue; // what the field holds; unset: what was put on the clipboard
    bool confirmationLoads = true;
    bool closed = false;
    std::function<void()> onProcessEvents;
    std::function<void()> onValueRead;

    FakeBidEnvironment();

    static PageTarget textField();
    static PageTarget button();
    static PageTarget text();

    void setClipboard(const QString &text) override;
    void processEvents() override;
    void sleep(int ms) override;
    void pause(int ms) override;
    void awaitClick() override;
    void bringWindowForward() override;
    void alignPage(int position) override;
    std::optional<QPoint> screenPixel(int position) override;
    std::optional<PageTarget> targetAt(int position) override;
    std::optional<QString> valueAt(int position) override;
    int firstCovered(const QList<QPoint> &pixels) override;
    bool hasKeyboard() override;
    void bidClicked() override;
    bool awaitConfirmationPage(int ms) override;
    bool abandoned() override;
    // The clock moves with the pauses, and by checkCost with every check of the page.
    qint64 clockMs() override { return m_clock; }
    qint64 checkCost = 0;

private:
    void note(const QString &line);
    QString m_clipboard;
    qint64 m_clock = 0;
};
