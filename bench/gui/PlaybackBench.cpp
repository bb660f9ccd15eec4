// Playback of a protocol file of the recorder's maximum size (52,632 records) in the real
// window: from choosing the file to the first window painted, scroll steps that reload the
// window, jumps to the end, and the resident memory. With gruppen > 1 the file holds that many
// recordings appended to one another (10: about 10 MB).
#include <QApplication>
#include <QScrollBar>
#include <cstdio>
#include <filesystem>

#include "GuiBenchSupport.hpp"
#include "GuiBenches.hpp"
#include "gui/MainWindow.hpp"
#include "gui/TimingView.hpp"

namespace krv::bench {

namespace {

// The settings as the program leaves them after playing a file of schreibeProtokolldatei:
// channels 1..9 and trigger mode 0.
std::string kanaeleWieInDerDatei() {
    std::string ini = "[Einstellungen]\n";
    for (int j = 0; j < 9; ++j) ini += "TimingKanal" + std::to_string(j) + "=" + std::to_string(j + 1) + "\n";
    return ini + "TimingKanal9=0\n";
}

}  // namespace

int protokollWiedergabe(int saetze, int gruppen, bool kanaeleGesetzt) {
    BenchSitzung t(kanaeleGesetzt ? kanaeleWieInDerDatei() : std::string());
    if (!t.start()) return 2;
    const std::string pfad = t.pfad("gross.log");
    schreibeProtokolldatei(pfad, saetze, gruppen);
    gui::MainWindow& w = t.window();
    PaintUhr uhr;
    uhr.beobachteAlle();
    uhr.laufeBisRuhe(200);
    const Speicher vorher = speicher();

    // Choosing the file: the dialog answers at once, so the command's start is the choice.
    t.dialogs().fileAnswers.push_back(pfad);
    double cpu0 = threadCpuMs();
    Uhr::time_point beginn = Uhr::now();
    w.action(t.c().mnuStartSimulation)->trigger();
    const double befehl = ms(Uhr::now() - beginn);
    const double befehlCpu = threadCpuMs() - cpu0;
    auto gezeigt = uhr.laufeBisRuhe();
    if (t.state().playback.SimulationsStatus != 2 || !gezeigt) {
        std::fprintf(stderr, "playback did not start (%s)\n",
                     t.dialogs().boxes.empty() ? "no message" : t.dialogs().boxes[0].text.c_str());
        return 2;
    }
    const double ersteFenster = ms(*gezeigt - beginn);
    const auto& z = t.form().wiedergabe().zustand();
    QScrollBar* hsb = w.timingView()->hsbTimingDiagram();
    std::printf("settings before: %s\n", kanaeleGesetzt ? "the file's channels already chosen"
                                                        : "fresh (the file's channels are written to the settings)");
    std::printf("file: %ju bytes, %d records; window %d records\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(pfad)), z.AnzahlDatensaetze,
                z.FensterEnde - z.FensterStart + 1);
    std::printf("first window painted %.1f ms after the choice (goal <= 150 ms); the command itself %.1f ms, "
                "%.1f ms of it CPU\n",
                ersteFenster, befehl, befehlCpu);

    // One step at a time to the right, as the arrow key does; the steps that reload the window
    // are the ones the goal is about.
    // CPU time: the command and the paint it causes (the waiting for quiet is not counted).
    std::vector<double> nachladen, ohne, nachladenCpu;
    for (int schritt = 0; schritt < 3000 && nachladen.size() < 60; ++schritt) {
        const std::int32_t start = z.FensterStart;
        cpu0 = threadCpuMs();
        beginn = Uhr::now();
        hsb->setValue(hsb->value() + 1);
        const double befehlsCpu = threadCpuMs() - cpu0;
        const auto p = uhr.laufeBisRuhe(15);
        const double dauer = ms((p ? *p : Uhr::now()) - beginn);
        (z.FensterStart != start ? nachladen : ohne).push_back(dauer);
        if (z.FensterStart != start) nachladenCpu.push_back(befehlsCpu);
    }
    // To the end and back to the start, as the End and Home keys do.
    std::vector<double> ende, anfang, endeCpu;
    for (int i = 0; i < 10; ++i) {
        cpu0 = threadCpuMs();
        beginn = Uhr::now();
        hsb->setValue(hsb->maximum());
        endeCpu.push_back(threadCpuMs() - cpu0);
        auto p = uhr.laufeBisRuhe(15);
        ende.push_back(ms((p ? *p : Uhr::now()) - beginn));
        beginn = Uhr::now();
        hsb->setValue(0);
        p = uhr.laufeBisRuhe(15);
        anfang.push_back(ms((p ? *p : Uhr::now()) - beginn));
    }
    const Verteilung vn = verteilung(nachladen), vo = verteilung(ohne), ve = verteilung(ende), va = verteilung(anfang);
    const Verteilung vnc = verteilung(nachladenCpu), vec = verteilung(endeCpu);
    std::printf("scroll step with reload: median %.2f ms, max %.2f ms (n=%zu; goal <= 20 ms); CPU of the step "
                "median %.2f ms, max %.2f ms\n",
                vn.median, vn.max, vn.n, vnc.median, vnc.max);
    std::printf("scroll step without reload: median %.2f ms, max %.2f ms (n=%zu)\n", vo.median, vo.max, vo.n);
    std::printf("jump to the end: median %.2f ms, max %.2f ms (n=%zu; goal <= 20 ms); CPU of the jump median %.2f ms, "
                "max %.2f ms\n",
                ve.median, ve.max, ve.n, vec.median, vec.max);
    std::printf("jump to the start: median %.2f ms, max %.2f ms (n=%zu)\n", va.median, va.max, va.n);
    const Speicher danach = speicher();
    std::printf("memory: RSS before playback %ld kB, after %ld kB; peak (VmHWM) %ld kB\n", vorher.rssKb, danach.rssKb,
                danach.spitzeKb);
    const bool ok = ersteFenster <= 150.0 && vn.max <= 20.0 && ve.max <= 20.0 && t.dialogs().boxes.empty();
    std::printf("%s\n", ok ? "PASS (times)" : "FAIL (times)");
    return ok ? 0 : 1;
}

}  // namespace krv::bench
