// Start-up inside one process, as a breakdown of the whole-process figure that
// scripts/bench-start.sh takes from the real program: the program entry up to the shown main
// window, and until its first paint has ended.
#include <QApplication>
#include <cstdio>

#include "GuiBenchSupport.hpp"
#include "GuiBenches.hpp"

namespace krv::bench {

int startZeit() {
    const Uhr::time_point beginn = Uhr::now();
    BenchSitzung t;
    PaintUhr uhr;
    uhr.beobachteAlle();
    if (!t.start()) return 2;
    const double gestartet = ms(Uhr::now() - beginn);
    const auto gemalt = uhr.laufeBisRuhe(100);
    const Speicher s = speicher();
    std::printf("program entry to window shown: %.1f ms; to its first paint ended: %.1f ms; RSS %ld kB, peak %ld kB\n",
                gestartet, gemalt ? ms(*gemalt - beginn) : -1.0, s.rssKb, s.spitzeKb);
    return 0;
}

}  // namespace krv::bench
