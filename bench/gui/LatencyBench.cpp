// Line rate into the real window: a thread plays the device on a pseudo-terminal, one short
// telegram every 20 ms (19 bytes at 960 bytes/s), the first 18 bytes first and the last byte
// 18.75 ms later, as the line spreads them. Measured: from the write of the last byte to the
// end of the last LED paint that shows the telegram, and this process's CPU share.
#include <QApplication>
#include <QEventLoop>
#include <cstdio>
#include <thread>

#include "GuiBenchSupport.hpp"
#include "GuiBenches.hpp"
#include "gui/MainWindow.hpp"

namespace krv::bench {
namespace {

constexpr auto kAbstand = std::chrono::microseconds(20000);
constexpr auto kLetztesByte = std::chrono::microseconds(18750);  // 18 bytes at 960 bytes/s

}  // namespace

int latenz(int sekunden) {
    Geraet geraet;
    BenchSitzung t("[Ports]\nCOM1=" + geraet.pfad() + "\n");
    if (!t.start()) return 2;
    app::MainFormState& c = t.c();
    gui::MainWindow& w = t.window();

    // Every LED of the device picture: the terminal LEDs and the module lamps.
    PaintUhr uhr;
    for (const app::Control& led : c.shpLed) uhr.beobachte(w.widget(led));
    for (const app::Control* led : {&c.shpOutputFault, &c.shpOutputLocked, &c.shpOutputState, &c.shpOutputWarn,
                                    &c.shpCpuFault, &c.shpCpuS1S2, &c.shpCpuS3S4, &c.shpErwFault, &c.shpErwIndicat,
                                    &c.shpErwSwitch2, &c.shpErwSwitch1}) {
        uhr.beobachte(w.widget(*led));
    }
    const int anzahl = sekunden * 50;
    // Paint ends per displayed telegram: index = number of telegrams displayed so far.
    std::vector<Uhr::time_point> letzterPaint(static_cast<std::size_t>(anzahl) + 2);
    int angezeigt = 0;
    t.form().onAnzeige = [&](const link::ReceiveState&) { ++angezeigt; };
    uhr.onPaintEnde = [&](Uhr::time_point ende) {
        if (angezeigt > 0 && angezeigt <= anzahl) letzterPaint[static_cast<std::size_t>(angezeigt)] = ende;
    };

    w.action(c.mnuDatenuebertragungStart)->trigger();
    if (!t.session().serial().isOpen()) {
        std::fprintf(stderr, "the port did not open\n");
        return 2;
    }
    uhr.laufeBisRuhe(200);

    std::vector<Bytes> telegramme;
    WechselndeTelegramme quelle;
    for (int i = 0; i < anzahl; ++i) telegramme.push_back(quelle.naechstes());
    std::vector<Uhr::time_point> geschrieben(static_cast<std::size_t>(anzahl));
    // The window runs its own event loop while the line plays; the device thread ends it.
    QEventLoop schleife;

    const double lastVorher = last1();
    const double cpuVorher = cpuSekunden();
    const long weckungenVorher = threadWeckungen();
    const Uhr::time_point beginn = Uhr::now();
    std::thread leitung([&] {
        for (int i = 0; i < anzahl; ++i) {
            const Uhr::time_point faellig = beginn + kAbstand * i;
            std::this_thread::sleep_until(faellig);
            const Bytes& tg = telegramme[static_cast<std::size_t>(i)];
            geraet.sende(ByteView(tg.data(), 18));
            std::this_thread::sleep_until(faellig + kLetztesByte);
            geschrieben[static_cast<std::size_t>(i)] = Uhr::now();
            geraet.sende(ByteView(tg.data() + 18, 1));
        }
        QMetaObject::invokeMethod(&schleife, &QEventLoop::quit, Qt::QueuedConnection);
    });
    schleife.exec();
    leitung.join();
    uhr.laufeBisRuhe(200);
    const double wand = std::chrono::duration<double>(Uhr::now() - beginn).count();
    const double cpu = cpuSekunden() - cpuVorher;
    const long weckungen = threadWeckungen() - weckungenVorher;

    std::vector<double> latenzen;
    int ohnePaint = 0;
    for (int i = 0; i < anzahl && i + 1 <= angezeigt; ++i) {
        const Uhr::time_point p = letzterPaint[static_cast<std::size_t>(i) + 1];
        if (p <= geschrieben[static_cast<std::size_t>(i)]) {
            ++ohnePaint;
            continue;
        }
        latenzen.push_back(ms(p - geschrieben[static_cast<std::size_t>(i)]));
    }
    const Verteilung v = verteilung(latenzen);
    std::printf("telegrams sent: %d, displayed: %d, displayed without an LED paint: %d\n", anzahl, angezeigt, ohnePaint);
    std::printf("last byte -> LEDs painted: median %.2f ms, p95 %.2f ms, max %.2f ms (n=%zu; goal: p95 <= 20 ms)\n", v.median,
                v.p95, v.max, v.n);
    std::printf("CPU of this process (window + device thread): %.2f s in %.1f s = %.2f %% of one core\n", cpu, wand,
                100.0 * cpu / wand);
    std::printf("wake-ups of the window thread: %.1f/s; load average before %.2f, after %.2f\n",
                static_cast<double>(weckungen) / wand, lastVorher, last1());
    const bool ok = angezeigt == anzahl && ohnePaint == 0 && v.p95 <= 20.0;
    std::printf("%s\n", ok ? "PASS (latency)" : "FAIL (latency)");
    return ok ? 0 : 1;
}

}  // namespace krv::bench
