// News intake throughput of the real main window: items written to
// "vek_localsocket" go through LocalSocketServer to MainWindow::onGetNewMessage
// with the live, calendar and mini pages loaded from the stand-in service, the
// table window filled and every item forwarded to a pop-up end on
// "vek_popup_localsocket". Prints items per second and the share spent in
// page calls.
//   bench_intake [ITEMS=2000] [ROUNDS=3] [--with-diagnostics]   (run from the source root)
#include "benchsupport.h"
#include "app/programfolder.h"
#include "protocol.h"
#include "settings/configstore.h"
#include "intake/localsocketserver.h"
#include "mainwindow.h"
#include "intakepages.h"
#include "miniwindow.h"
#include "pages/webhost.h"
#include "servicefixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWebFrame>
#include <QWebView>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using Korvex::MainWindow;
using Korvex::Miniwindow;

namespace
{

// About 500 bytes of UTF-8 as the service sends; one item in three for the calendar.
QString itemText(int i)
{
    const bool calendar = i % 3 == 0;
    QString item =
        QStringLiteral("[{\"id\":%1,\"vek_news_type\":\"%2\",\"star\":%3,\"importance\":0,"
                       "\"time\":\"2026-12-07 08:30:00\",\"country\":\"美国\","
                       "\"eventname\":\"非农就业人数 %1\",\"front_value\":\"1.2\","
                       "\"forecast_value\":\"1.3\",\"real_value\":\"1.5\","
                       "\"title\":\"[快讯] 美联储主席讲话：通胀仍然偏高 %1\",\"content\":\"")
            .arg(i)
            .arg(calendar ? QStringLiteral("ES") : QStringLiteral("FBN"))
            .arg(i % 7);
    while (item.toUtf8().size() < 480)
        item += QStringLiteral("Gold and silver edged higher. ");
    return item + QStringLiteral("\"}]");
}

QWebFrame *frameOf(QWebView *view)
{
    return view->page()->mainFrame();
}

} // namespace

int main(int argc, char *argv[])
{
    // Socket names, the settings store and the log go to a private folder, so
    // a running client is never touched; no companion program is found there.
    QTemporaryDir home;
    for (const char *name : {"TMPDIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, QFile::encodeName(home.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KORVEX_SOURCE_DIR"))
        qputenv("KORVEX_SOURCE_DIR", QFile::encodeName(QDir::currentPath()));
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(Korvex::organizationName());
    QCoreApplication::setApplicationName(Korvex::applicationName());
    QStringList args = app.arguments();
    const bool diagnostics = args.removeAll(QStringLiteral("--with-diagnostics")) > 0;
    if (!diagnostics)
        QLoggingCategory::setFilterRules(QStringLiteral("korvex.*.debug=false"));
    const int items = std::max(1, args.size() > 1 ? args.at(1).toInt() : 2000);
    const int rounds = std::max(1, args.size() > 2 ? args.at(2).toInt() : 3);
    // No companion program is started: the pop-up end below stands in.
    Korvex::setProgramFolder(home.path());
    QTextStream out(stdout);

    ServiceFixture service;
    QString error;
    if (!service.start(&error)) {
        out << "cannot start the stand-in service: " << error << "\n";
        return 1;
    }
    Korvex::setWebHost(service.webUrl(QString()));
    // GMT+8: the service's own clock.
    Korvex::writeConfig(QStringLiteral("general_language"),
                        {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")},
                        {QStringLiteral("27"), QStringLiteral("0")});

    // The pop-up program's end: reads and drops what it gets.
    QLocalServer popupEnd;
    QLocalServer::removeServer(Protocol::socketPath(Protocol::popupSocketName()));
    popupEnd.listen(Protocol::socketPath(Protocol::popupSocketName()));
    qint64 popupBytes = 0;
    QObject::connect(&popupEnd, &QLocalServer::newConnection, &popupEnd, [&] {
        while (QLocalSocket *socket = popupEnd.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [&popupBytes, socket] { popupBytes += socket->readAll().size(); });
        }
    });

    auto window = std::make_unique<MainWindow>();
    int sounds = 0;
    window->setSoundPlayer([&sounds](const QString &) { ++sounds; });
    auto *server = window->findChild<Korvex::LocalSocketServer *>();
    const QList<QWebFrame *> frames = {
        frameOf(window->findChild<QWebView *>(QStringLiteral("webView_kuaixunzhibo"))),
        frameOf(window->findChild<QWebView *>(QStringLiteral("webView_caijingrili"))),
    };
    QWebFrame *mini = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *strip = qobject_cast<Miniwindow *>(top))
            mini = frameOf(strip->pageView());
    }
    const bool loaded = Bench::waitFor(
        [&] {
            if (!mini || !server)
                return false;
            for (QWebFrame *frame : frames + QList<QWebFrame *>{mini}) {
                if (frame->evaluateJavaScript(QStringLiteral("typeof Korvex")).toString() !=
                    QLatin1String("object"))
                    return false;
            }
            return true;
        },
        20000);
    if (!loaded) {
        out << "the pages did not load\n";
        return 1;
    }

    QLocalSocket listener;
    listener.connectToServer(Protocol::socketPath(Protocol::mainSocketName()));
    if (!listener.waitForConnected(5000)) {
        out << "cannot reach vek_localsocket\n";
        return 1;
    }
    listener.write(Protocol::popupStartedTag().toUtf8());
    listener.flush();
    Bench::waitFor([&] { return popupBytes > 0; }, 5000);

    std::vector<QByteArray> messages;
    for (int i = 0; i < std::min(items, 300); ++i)
        messages.push_back(Protocol::newsMessage(itemText(i)).toUtf8());

    int handled = 0;
    QObject::connect(server, &Korvex::LocalSocketServer::getNewMessage, &app,
                     [&handled](const QString &, const QString &, const QString &) { ++handled; });

    std::vector<double> rates;
    for (int round = 0; round < rounds; ++round) {
        handled = 0;
        const Korvex::IntakePages::PageCallStats before = window->intakePages()->pageCallStats();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < items; ++i)
            listener.write(messages[size_t(i) % messages.size()]);
        listener.flush();
        if (!Bench::waitFor([&] { return handled >= items; }, 600000)) {
            out << "only " << handled << " of " << items << " items were handled\n";
            return 1;
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        const Korvex::IntakePages::PageCallStats after = window->intakePages()->pageCallStats();
        const double rate = items / seconds;
        const double pageMs = (after.nanoseconds - before.nanoseconds) / 1e6 / items;
        rates.push_back(rate);
        out << QStringLiteral("round %1: %2 items in %3 s: %4 items/s, %5 ms/item, "
                              "%6 ms/item in page calls (%7 calls/item)\n")
                   .arg(round + 1)
                   .arg(handled)
                   .arg(seconds, 0, 'f', 3)
                   .arg(rate, 0, 'f', 0)
                   .arg(1e3 / rate, 0, 'f', 3)
                   .arg(pageMs, 0, 'f', 3)
                   .arg(double(after.calls - before.calls) / items, 0, 'f', 2);
        out.flush();
    }
    std::sort(rates.begin(), rates.end());
    const double median = rates[rates.size() / 2];
    out << QStringLiteral("median: %1 items/s, %2 ms/item (500-byte items, one in three for the "
                          "calendar; pages report every call to the stand-in service; %3)\n")
               .arg(median, 0, 'f', 0)
               .arg(1e3 / median, 0, 'f', 3)
               .arg(diagnostics ? QStringLiteral("with diagnostics")
                                : QStringLiteral("diagnostics muted"));
    out << "sounds requested: " << sounds << ", bytes to the pop-up end: " << popupBytes << "\n";
    out.flush();

    listener.abort();
    window.reset();
    service.stop();
    return 0;
}
