// Time to reassemble one big news item whose text quotes every tag, fed in
// socket-sized reads, by both programs' rules; one row per item size. Linear
// reading shows as a flat MB/s column from row to row.
//   bench_reassembly [ROUNDS=5]
#include "benchsupport.h"
#include "messagereassembler.h"
#include "protocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace
{

// Quoted tags inside the title; "[{}]" pieces outside strings in the extra
// member, so that many reads end in text that looks like a finished item.
QString bigItem(int chars, bool brackets)
{
    const QString quoted =
        QStringLiteral("__popup_more__ \\\"__popup_content__7\\\" cookieChanged_8 "
                       "__vek_show_window__ 金价 ");
    QString title;
    while (title.size() < chars)
        title += quoted;
    QString item =
        QStringLiteral(R"([{"vek_news_type":"FBN","title":")") + title + QStringLiteral("\"");
    if (brackets) {
        item += QStringLiteral(R"(,"more":[)");
        for (int i = 0; i < chars / 8; ++i)
            item += QStringLiteral("[{}],");
        item += QStringLiteral("[{}]]");
    }
    return item + QStringLiteral("}]");
}

double reassembleMs(bool popupSide, const QByteArray &stream, int readSize, int expected)
{
    Common::MessageReassembler r(popupSide ? Common::MessageReassembler::popupServerRules()
                                           : Common::MessageReassembler::mainServerRules());
    int got = 0;
    QObject::connect(&r, &Common::MessageReassembler::messagesReady,
                     [&got](const QStringList &messages) { got += messages.size(); });
    QElapsedTimer clock;
    clock.start();
    for (int pos = 0; pos < stream.size(); pos += readSize)
        r.feed(stream.mid(pos, readSize));
    r.finish();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (got != expected)
        std::fprintf(stderr, "expected %d messages, got %d\n", expected, got);
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QTextStream out(stdout);
    out << "side   item     read   shape     median ms   p99 ms    MB/s\n";
    for (const bool popupSide : {false, true}) {
        for (const bool brackets : {false, true}) {
            for (const int kb : {128, 256, 512, 1024, 2048}) {
                for (const int readSize : {4096, 65536}) {
                    const QString item = bigItem(kb * 1024, brackets);
                    const QStringList messages =
                        popupSide
                            ? QStringList{Protocol::popupNewsMessage(9, QStringLiteral("0"), item),
                                          Protocol::timeZoneChangedMessage(QStringLiteral("8"))}
                            : QStringList{Protocol::newsMessage(item), Protocol::popupMoreTag()};
                    const QByteArray stream = messages.join(QString()).toUtf8();
                    std::vector<double> ms;
                    for (int round = 0; round < rounds; ++round)
                        ms.push_back(reassembleMs(popupSide, stream, readSize, 2));
                    const double median = Bench::percentile(ms, 0.5);
                    out << QStringLiteral("%1 %2 KB %3 KB %4 %5 %6 %7\n")
                               .arg(popupSide ? QStringLiteral("popup") : QStringLiteral("main "))
                               .arg(stream.size() / 1024, 6)
                               .arg(readSize / 1024, 4)
                               .arg(brackets ? QStringLiteral("brackets")
                                             : QStringLiteral("quotes  "))
                               .arg(median, 11, 'f', 1)
                               .arg(Bench::percentile(ms, 0.99), 8, 'f', 1)
                               .arg(stream.size() / 1048576.0 / (median / 1000), 7, 'f', 1);
                    out.flush();
                }
            }
        }
    }
    return 0;
}
