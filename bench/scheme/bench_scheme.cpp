// Side by side, with the same engine and page: the "local" scheme against the engine's own
// file:// for folders of 10,000 and 100,000 files (time until the page holds a link for every
// file, and the renderer's peak memory meanwhile), and for a large file read by a page in
// ranges (MB/s). Prints figures; never fails on time.
//
//   bench_scheme [file size in MiB, default 1024] [rounds, default 3]

#include "app/browserruntime.h"
#include "app/localscheme.h"
#include "scheme/localschemefactory.h"
#include "webtest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace {
constexpr int smallCount = 10000;
constexpr int largeCount = 100000;
// file:// sends one script element per row; at 100,000 rows that takes minutes, so its load
// is given up after this long and reported as such.
constexpr int listingCapMs = 60000;

QVariant runJs(QWebEnginePage &page, const QString &script, int timeout = 600000)
{
    auto answer = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, timeout))
        return {};
    return **answer;
}

bool load(QWebEnginePage &page, const QUrl &url)
{
    QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
    page.load(url);
    return finished.wait(120000) && finished.last().first().toBool();
}

QUrl folderUrl(const QString &scheme, const QString &path)
{
    if (scheme == QLatin1String("file"))
        return QUrl::fromLocalFile(path + '/');
    return QUrl::fromEncoded("local:/" + QUrl::toPercentEncoding(path, "/") + '/');
}

QByteArray statusField(qint64 pid, const char *field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first();
    return {};
}

// Starts the process's peak resident size afresh from its present size.
void resetPeak(qint64 pid)
{
    QFile clear(QStringLiteral("/proc/%1/clear_refs").arg(pid));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct Listing {
    double ms = -1;        // -1: failed; above listingCapMs: given up
    qint64 peakMiB = -1;   // the renderer's peak resident size during the load
};

// From the start of the load until it has finished, which for both listings is when every
// inline row script has run; failed unless the page then holds a link for every file.
Listing listingTime(QWebEnginePage &page, const QUrl &url, int files)
{
    Listing result;
    if (!load(page, QUrl(QStringLiteral("about:blank"))))
        return result;
    resetPeak(page.renderProcessPid());
    QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
    QElapsedTimer timer;
    timer.start();
    page.load(url);
    const bool done = finished.wait(listingCapMs);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    result.peakMiB = statusField(page.renderProcessPid(), "VmHWM:").toLongLong() / 1024;
    if (!done) {
        result.ms = ms;
        page.triggerAction(QWebEnginePage::Stop);
        load(page, QUrl(QStringLiteral("about:blank")));
        return result;
    }
    if (finished.last().first().toBool()
        && runJs(page, QStringLiteral("document.querySelectorAll('a').length")).toInt() >= files)
        result.ms = ms;
    return result;
}

// Reads the whole file in 64 MiB ranges from a page of the same scheme; MB/s, or -1.
double streamRate(QWebEnginePage &page, const QString &scheme, const QString &folder, qint64 size)
{
    if (!load(page, folderUrl(scheme, folder)))
        return -1;
    const QString fileUrl = folderUrl(scheme, folder).toString() + QStringLiteral("big.bin");
    const QString script = QStringLiteral(R"(window.result = null; (function () {
        var url = '%1', size = %2, piece = 64 * 1024 * 1024, at = 0, bytes = 0;
        function next() {
            if (at >= size) { window.result = bytes; document.title = 'read ' + bytes; return; }
            var last = Math.min(at + piece, size) - 1;
            var x = new XMLHttpRequest(); x.open('GET', url); x.responseType = 'arraybuffer';
            x.setRequestHeader('Range', 'bytes=' + at + '-' + last);
            x.onload = function () { bytes += x.response.byteLength; at = last + 1; next(); };
            x.onerror = function () { window.result = -1; document.title = 'read -1'; };
            x.send(); }
        next(); })();)").arg(fileUrl).arg(size);
    // Waiting in a real event loop (a signal), as the program does: no polling, no sleeping.
    QSignalSpy title(&page, &QWebEnginePage::titleChanged);
    QElapsedTimer timer;
    timer.start();
    page.runJavaScript(script);
    while (title.isEmpty() || !title.last().first().toString().startsWith(QLatin1String("read ")))
        if (!title.wait(3600000))
            return -1;
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (title.last().first().toString() != QStringLiteral("read %1").arg(size))
        return -1;
    return double(size) / (1024.0 * 1024.0) / seconds;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

bool makeFolder(const QString &path, int files)
{
    if (!QDir().mkpath(path))
        return false;
    for (int i = 0; i < files; ++i) {
        QFile file(path + QStringLiteral("/file%1.txt").arg(i, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(i % 5000, 'x')) < 0)
            return false;
    }
    return true;
}

QString timeText(double ms)
{
    if (ms < 0)
        return QStringLiteral("failed");
    if (ms > listingCapMs)
        return QStringLiteral("> %1 s (given up)").arg(listingCapMs / 1000);
    return QStringLiteral("%1 ms").arg(ms, 0, 'f', 1);
}
} // namespace

int main(int argc, char **argv)
{
    webtest::prepareEnvironment();
    localscheme::registerScheme();
    QApplication app(argc, argv);
    const qint64 sizeMiB = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1024;
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;

    QTemporaryDir dir;
    QTemporaryDir cache;
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    if (!makeFolder(root + QStringLiteral("/many"), smallCount) || !makeFolder(root + QStringLiteral("/more"), largeCount))
        return 1;
    const qint64 size = sizeMiB << 20;
    {
        QFile big(root + QStringLiteral("/big.bin"));
        if (!big.open(QIODevice::WriteOnly) || !big.resize(size))
            return 1;
    }

    // Listings on the program's own profile, as the user sees them.
    std::unique_ptr<QWebEngineProfile> profile(browserruntime::createProfile(cache.path()));
    QWebEngineView view;
    auto *page = new QWebEnginePage(profile.get(), &view);
    view.setPage(page);
    view.resize(1024, 768);
    view.show();

    const QStringList schemes = {QStringLiteral("local"), QStringLiteral("file")};
    QHash<QString, QList<double>> listing;
    for (int round = 0; round < rounds; ++round) {
        for (const QString &scheme : schemes) {
            const Listing figure = listingTime(*page, folderUrl(scheme, root + QStringLiteral("/many")), smallCount);
            std::printf("listing %6d %-5s round %d: %s, renderer peak %lld MiB\n", smallCount, qPrintable(scheme),
                        round + 1, qPrintable(timeText(figure.ms)), figure.peakMiB);
            listing[scheme] << figure.ms;
        }
        std::fflush(stdout);
    }
    QHash<QString, Listing> large;
    for (const QString &scheme : schemes) {
        large[scheme] = listingTime(*page, folderUrl(scheme, root + QStringLiteral("/more")), largeCount);
        std::printf("listing %6d %-5s: %s, renderer peak %lld MiB\n", largeCount, qPrintable(scheme),
                    qPrintable(timeText(large[scheme].ms)), large[scheme].peakMiB);
        std::fflush(stdout);
    }

    // Streaming: local pages may not read files into script, so the handler's streaming is
    // measured on a profile that has the handler alone, beside file:// on the same profile.
    delete page;
    page = nullptr;
    QWebEngineProfile bare;
    bare.installUrlSchemeHandler(localscheme::name, new LocalSchemeFactory(&bare));
    auto *streamPage = new QWebEnginePage(&bare, &view);
    view.setPage(streamPage);
    QHash<QString, QList<double>> stream;
    for (int round = 0; round < rounds; ++round) {
        for (const QString &scheme : schemes) {
            const double rate = streamRate(*streamPage, scheme, root, size);
            std::printf("stream   %-5s round %d: %9.1f MB/s (%lld MiB)\n", qPrintable(scheme), round + 1, rate, sizeMiB);
            stream[scheme] << rate;
        }
        std::fflush(stdout);
    }

    const double listLocal = median(listing[QStringLiteral("local")]);
    const double listFile = median(listing[QStringLiteral("file")]);
    const double rateLocal = median(stream[QStringLiteral("local")]);
    const double rateFile = median(stream[QStringLiteral("file")]);
    std::printf("\n%d-file folder listing, median: local:// %.1f ms, file:// %.1f ms, local/file time %.2f (target <= 1)\n",
                smallCount, listLocal, listFile, listLocal / listFile);
    std::printf("%d-file folder listing: local:// %s with the renderer at %lld MiB at most (target <= 10 s, < 500 MB); "
                "file:// %s, %lld MiB\n",
                largeCount, qPrintable(timeText(large[QStringLiteral("local")].ms)), large[QStringLiteral("local")].peakMiB,
                qPrintable(timeText(large[QStringLiteral("file")].ms)), large[QStringLiteral("file")].peakMiB);
    std::printf("%lld MiB stream, median: local:// %.1f MB/s, file:// %.1f MB/s, local/file rate %.2f (target >= 0.8)\n",
                sizeMiB, rateLocal, rateFile, rateLocal / rateFile);
    view.setPage(nullptr);
    delete streamPage;
    return 0;
}
