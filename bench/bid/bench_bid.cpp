// Fires the real window's bid twenty times in live mode against the fake auction site, with the
// real browser and real X input, and prints how late it all comes after the moment of the bid.
#include "app/localscheme.h"
#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "fakeauctionsite.h"
#include "messageboxanswerer.h"
#include "sniper/bidrecord.h"
#include "sniper/countdown.h"
#include "sniper/positions.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"
#include "ui/windowbidenvironment.h"
#include "webtest.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

#include <algorithm>
#include <type_traits>
#include <cstdio>

namespace {

constexpr int armings = 20;

// Records the moment of every tick of the countdown timer, as it is delivered.
class TickRecorder : public QObject
{
public:
    explicit TickRecorder(TMain_Form *form) : m_form(form) {}
    QList<double> ticks;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ticks.append(inside(m_form).hooks().Now());
        return false;
    }

private:
    TMain_Form *m_form;
};

struct Figures
{
    QList<double> values;
    double at(double share) const
    {
        QList<double> v = values;
        std::sort(v.begin(), v.end());
        const qsizetype rank = qMax<qsizetype>(1, qsizetype(std::ceil(share * double(v.size()))));
        return v[rank - 1];
    }
    void print(const char *what, double bound) const
    {
        if (values.isEmpty()) {
            std::printf("%-46s no samples\n", what);
            return;
        }
        std::printf("%-46s median %7.1f  p95 %7.1f  max %7.1f ms   p95/bound %.2f (bound %.0f ms)\n", what, at(0.5),
                    at(0.95), at(1.0), at(0.95) / bound, bound);
    }
};

// The program's own surroundings of the bid, with the time each of its checks takes.
class TimedBidEnvironment : public BidEnvironment
{
public:
    TimedBidEnvironment(std::unique_ptr<BidEnvironment> real, QMap<QString, double> &spent)
        : m_real(std::move(real)), m_spent(spent) {}

    void setClipboard(const QString &text) override { m_real->setClipboard(text); }
    void processEvents() override { m_real->processEvents(); }
    void sleep(int ms) override { m_real->sleep(ms); }
    void pause(int ms) override { m_real->pause(ms); }
    void awaitClick() override { m_real->awaitClick(); }
    void bringWindowForward() override { timed("forward", [&] { m_real->bringWindowForward(); return 0; }); }
    void alignPage(int position) override { timed("align", [&] { m_real->alignPage(position); return 0; }); }
    std::optional<QPoint> screenPixel(int position) override { return m_real->screenPixel(position); }
    std::optional<PageTarget> targetAt(int position) override
    {
        return timed(position == 3 ? "target 3" : "targets 1+2", [&] { return m_real->targetAt(position); });
    }
    std::optional<QString> valueAt(int position) override
    {
        return timed("value", [&] { return m_real->valueAt(position); });
    }
    int firstCovered(const QList<QPoint> &pixels) override
    {
        return timed("covered", [&] { return m_real->firstCovered(pixels); });
    }
    bool hasKeyboard() override { return timed("keyboard", [&] { return m_real->hasKeyboard(); }); }
    void bidClicked() override { m_real->bidClicked(); }
    bool awaitConfirmationPage(int ms) override
    {
        return timed("confirmation page", [&] { return m_real->awaitConfirmationPage(ms); });
    }
    bool abandoned() override { return m_real->abandoned(); }
    qint64 clockMs() override { return m_real->clockMs(); }

private:
    template<typename F>
    std::invoke_result_t<F> timed(const char *what, F f)
    {
        QElapsedTimer t;
        t.start();
        auto result = f();
        m_spent[QLatin1String(what)] += t.nsecsElapsed() / 1e6;
        return result;
    }

    std::unique_ptr<BidEnvironment> m_real;
    QMap<QString, double> &m_spent;
};

QPoint screenPixel(TMain_Form &form, const QRect &onPage)
{
    BrowserView *view = form.Chromium1->view();
    const QPoint global = view->mapToGlobal(onPage.center());
    const qreal ratio = view->devicePixelRatioF();
    return QPoint(qRound(global.x() * ratio), qRound(global.y() * ratio));
}

bool load(TMain_Form &form, const QUrl &url)
{
    QSignalSpy loaded(form.Chromium1->page(), &QWebEnginePage::loadFinished);
    form.Chromium1->NavigateTo(url.toString());
    return loaded.wait(20000) && loaded.last().first().toBool();
}

} // namespace

int main(int argc, char **argv)
{
    webtest::prepareEnvironment();
    localscheme::registerScheme();
    QApplication app(argc, argv);

    FakeAuctionSite site;
    QTemporaryDir dir;
    if (!site.start() || !dir.isValid()) {
        std::fprintf(stderr, "cannot start the fake site\n");
        return 1;
    }
    QWebEngineProfile profile;
    TMain_Form form(&profile);
    inside(&form).hooks().SettingsFolder = dir.path();
    inside(&form).hooks().RecordsFolder = QDir(dir.path()).filePath(QStringLiteral("prihozy"));
    form.showMaximized();
    if (!QTest::qWaitForWindowExposed(&form) || !load(form, site.itemUrl())) {
        std::fprintf(stderr, "the window or the item page did not come up\n");
        return 1;
    }
    QTest::qWait(1500);
    // The three points, where a capture would put them.
    const QPoint amount = screenPixel(form, FakeAuctionSite::amountField);
    const QPoint bid = screenPixel(form, FakeAuctionSite::bidButton);
    const QPoint confirm = screenPixel(form, FakeAuctionSite::confirmButton);
    writeTaughtPoint(form.SettingsPath(), 1, {amount.x(), amount.y()}, {FakeAuctionSite::amountField.center(), {}}, {},
                     nullptr);
    writeTaughtPoint(form.SettingsPath(), 2, {bid.x(), bid.y()}, {FakeAuctionSite::bidButton.center(), {}}, {}, nullptr);
    writeTaughtPoint(form.SettingsPath(), 3, {confirm.x(), confirm.y()}, {FakeAuctionSite::confirmButton.center(), {}},
                     {}, nullptr);
    form.Mod_RadioGroup->setItemIndex(1);
    QMap<QString, double> spent;
    const auto realEnvironment = inside(&form).hooks().OpenBidEnvironment;
    inside(&form).hooks().OpenBidEnvironment = [&] {
        return std::make_unique<TimedBidEnvironment>(realEnvironment(), spent);
    };
    QMap<QString, Figures> checkFigures;
    MessageBoxAnswerer answerer;   // a failed bid says why in a box

    TickRecorder recorder(&form);
    form.Timer1->installEventFilter(&recorder);
    Figures tickLateness, bidOverhead, confirmOverhead;
    int rightAmounts = 0, confirmedRight = 0;

    for (int i = 0; i < armings; ++i) {
        if (!load(form, site.itemUrl())) {
            std::fprintf(stderr, "arming %d: item page did not load\n", i + 1);
            continue;
        }
        QTest::qWait(300);
        site.clear();
        recorder.ticks.clear();
        spent.clear();
        const QString amountText = QString::number(1000 + 37 * i);
        form.castka1_edit->setText(amountText);
        // The picker 2.3 s plus n + 4 s ahead: the bid fires about 2.3 s after arming.
        const QDateTime picker = QDateTime::currentDateTime().addMSecs(2300 + 9000);
        form.doKonce_DTP->setDateTime(picker);
        inside(&form).Odpocitavat_BTTClick();
        const double target = inside(&form).TargetTime();

        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000 && (site.confirmations().isEmpty() || form.Timer1->isActive()))
            QTest::qWait(20);
        QTest::qWait(300);

        for (double tick : std::as_const(recorder.ticks)) {
            if (isLaterThan(tick, target)) {
                tickLateness.values.append((tick - target) * 86400000.0);
                break;
            }
        }
        const QDateTime moment = fromDays(target);
        const QList<FakeAuctionSite::Arrival> bids = site.bids();
        const QList<FakeAuctionSite::Arrival> confirmations = site.confirmations();
        if (!bids.isEmpty()) {
            bidOverhead.values.append(double(moment.msecsTo(bids.first().received)) - 1000.0);
            rightAmounts += bids.size() == 1 && bids.first().amount == amountText;
        }
        if (!confirmations.isEmpty()) {
            confirmOverhead.values.append(double(moment.msecsTo(confirmations.first().received)) - 2000.0);
            confirmedRight += confirmations.size() == 1 && confirmations.first().amount == amountText;
        }
        QString checks;
        for (auto it = spent.cbegin(); it != spent.cend(); ++it) {
            checks += QStringLiteral(" %1 %2").arg(it.key()).arg(it.value(), 0, 'f', 1);
            checkFigures[it.key()].values.append(it.value());
        }
        std::printf("arming %2d: status %-12s bids %lld confirmations %lld; checks (ms):%s\n", i + 1,
                    qPrintable(form.Stav_Label->text()), qint64(bids.size()), qint64(confirmations.size()),
                    qPrintable(checks));
        for (const QString &text : answerer.texts())
            std::printf("           %s\n", qPrintable(text));
        answerer.seen.clear();
    }

    std::printf("\n%d armings, live mode, real browser and XTest input, fake site on 127.0.0.1\n", armings);
    tickLateness.print("firing tick after TargetTime", 100.0);
    bidOverhead.print("item-page bid: arrival - TargetTime - 1.0 s", 150.0);
    confirmOverhead.print("confirmation: arrival - TargetTime - 2.0 s", 150.0);
    for (auto it = checkFigures.cbegin(); it != checkFigures.cend(); ++it)
        it.value().print(qPrintable(QStringLiteral("check: ") + it.key()), 150.0);
    // Writing one record as the bid leaves it: the journal, the page at firing and after, a picture.
    {
        QElapsedTimer took;
        took.start();
        BidRecord record(QDir(dir.path()).filePath(QStringLiteral("bench-records")), QStringLiteral("127.0.0.1"),
                         QDateTime::currentDateTime());
        record.hold();
        for (int i = 0; i < 30; ++i)
            record.note(QStringLiteral("check"), {{"position", i % 3}, {"found", "prvek <input id=\"amount\">"}});
        const QByteArray page(5000, 'x');
        record.keep(QStringLiteral("item.html"), page);
        record.keep(QStringLiteral("after.html"), page);
        QBuffer picture;
        picture.open(QIODevice::WriteOnly);
        form.Chromium1->view()->grab().save(&picture, "PNG");
        record.keep(QStringLiteral("after.png"), picture.data());
        const qint64 beforeWrite = took.nsecsElapsed();
        record.release();
        std::printf("one record: %.1f ms to write (journal of 30 events, two pages, a %lld kB picture), "
                    "%.1f ms with the picture's encoding\n",
                    (took.nsecsElapsed() - beforeWrite) / 1e6, qint64(picture.size() / 1024), took.nsecsElapsed() / 1e6);
    }
    std::printf("bids with the right amount: %d of %d; confirmations with it: %d of %d\n", rightAmounts, armings,
                confirmedRight, armings);
    return rightAmounts == armings ? 0 : 2;
}
