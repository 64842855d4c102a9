// Fires the real window's bid twenty times in live mode against the fake auction site, with the
// real browser and real X input, and prints how late it all comes after the moment of the bid.
#include "app/localscheme.h"
#include "browser/browserpage.h"
#include "browser/browserview.h"
#include "browser/tchromium.h"
#include "fakeauctionsite.h"
#include "sniper/countdown.h"
#include "sniper/positions.h"
#include "tmain_formtestaccess.h"
#include "ui/tmain_form.h"
#include "ui/tradiogroup.h"
#include "webtest.h"

#include <QApplication>
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
    writePosition(form.SettingsPath(), 1, {amount.x(), amount.y()}, nullptr);
    writePosition(form.SettingsPath(), 2, {bid.x(), bid.y()}, nullptr);
    writePosition(form.SettingsPath(), 3, {confirm.x(), confirm.y()}, nullptr);
    form.Mod_RadioGroup->setItemIndex(1);

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
        std::printf("arming %2d: status %-12s bids %lld confirmations %lld\n", i + 1,
                    qPrintable(form.Stav_Label->text()), qint64(bids.size()), qint64(confirmations.size()));
    }

    std::printf("\n%d armings, live mode, real browser and XTest input, fake site on 127.0.0.1\n", armings);
    tickLateness.print("firing tick after TargetTime", 100.0);
    bidOverhead.print("item-page bid: arrival - TargetTime - 1.0 s", 150.0);
    confirmOverhead.print("confirmation: arrival - TargetTime - 2.0 s", 150.0);
    std::printf("bids with the right amount: %d of %d; confirmations with it: %d of %d\n", rightAmounts, armings,
                confirmedRight, armings);
    return rightAmounts == armings ? 0 : 2;
}
