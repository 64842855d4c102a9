#pragma once

#include "sniper/bidenvironment.h"
#include "sniper/positions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class TChromium;
class XWindowStack;

// The bid's surroundings in the running program: the main window, its browser and the X
// server. The taught positions are read from the settings file when the bid starts.
class WindowBidEnvironment : public QObject, public BidEnvironment
{
public:
    WindowBidEnvironment(QWidget *window, TChromium *browser, const QString &settingsPath,
                         std::function<bool()> abandoned);
    ~WindowBidEnvironment() override;

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
    qint64 clockMs() override;
    void note(const QString &event, const QJsonObject &fields) override;

    // Where the bid's steps go: the record of the arming.
    std::function<void(const QString &, const QJsonObject &)> journal;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const TaughtPoint &taught(int position);
    // The taught view point in the page's CSS pixels, or the screen pixel mapped into the view.
    QPointF cssPoint(int position);

    QPointer<QWidget> m_window;
    QPointer<TChromium> m_browser;
    QString m_settingsPath;
    std::function<bool()> m_abandoned;
    std::unique_ptr<XWindowStack> m_stack;
    TaughtPoint m_points[3];
    bool m_read[3] = {false, false, false};
    QElapsedTimer m_clock;
    int m_releases = 0;
    bool m_watchingLoads = false;
    bool m_loadStarted = false;
    bool m_loadFinished = false;
};
