// krvdiag-gui-bench: measurements of the real main window, offscreen.
//
//   krvdiag-gui-bench latency [seconds]        line rate on a pseudo-terminal (default 60 s)
//   krvdiag-gui-bench replay [telegrams]       CPU data replay (default 180,000 = one hour)
//   krvdiag-gui-bench playback [groups] [same] protocol file of 52,632 records, or that many
//                                              such recordings appended (default 1); "same":
//                                              the settings already hold the file's channels
//   krvdiag-gui-bench start                    start-up inside the process
//
// Run with QT_QPA_PLATFORM=offscreen and XDG_RUNTIME_DIR set to a 0700 directory.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GuiBenches.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string was = argc > 1 ? argv[1] : "";
    const int zahl = argc > 2 ? std::atoi(argv[2]) : 0;
    try {
        if (was == "latency") return krv::bench::latenz(zahl > 0 ? zahl : 60);
        if (was == "replay") return krv::bench::cpuDatenWiedergabe(zahl > 0 ? zahl : 180000);
        if (was == "playback") {
            const bool gleich = argc > 3 && std::string(argv[3]) == "same";
            return krv::bench::protokollWiedergabe(52632, zahl > 0 ? zahl : 1, gleich);
        }
        if (was == "start") return krv::bench::startZeit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krvdiag-gui-bench: %s\n", e.what());
        return 2;
    }
    std::fprintf(stderr, "usage: krvdiag-gui-bench latency [seconds] | replay [telegrams] | playback [groups] [same] | start\n");
    return 2;
}
