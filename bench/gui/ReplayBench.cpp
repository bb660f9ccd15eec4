// CPU data replay in the real window: a file of one hour of line traffic (180,000 short
// telegrams, 3.4 MB) chosen in the replay command, timed until the command returns.
#include <QApplication>
#include <cstdio>
#include <filesystem>

#include "GuiBenchSupport.hpp"
#include "GuiBenches.hpp"
#include "gui/MainWindow.hpp"

namespace krv::bench {

int cpuDatenWiedergabe(int telegramme) {
    BenchSitzung t;
    if (!t.start()) return 2;
    const std::string pfad = t.pfad("stunde.log");
    schreibeCpuDaten(pfad, telegramme);
    // Telegrams only: the switch to the status view shows the model list's choice once, from a
    // bare status block at the start of the buffer.
    int angezeigt = 0;
    t.form().onAnzeige = [&](const link::ReceiveState& s) {
        if (s.DatenStart > 1) ++angezeigt;
    };
    PaintUhr uhr;
    uhr.laufeBisRuhe(200);

    t.dialogs().fileAnswers.push_back(pfad);
    const double cpuVorher = cpuSekunden();
    const Uhr::time_point beginn = Uhr::now();
    t.form().mnuStartCpuDatenWiedergabe_Click();
    const double sekunden = std::chrono::duration<double>(Uhr::now() - beginn).count();
    const double cpu = cpuSekunden() - cpuVorher;

    const auto groesse = std::filesystem::file_size(pfad);
    std::printf("CPU data replay of %d telegrams (%ju bytes): %.2f s wall, %.2f s CPU; telegrams displayed %d; "
                "message boxes %zu\n",
                telegramme, static_cast<std::uintmax_t>(groesse), sekunden, cpu, angezeigt, t.dialogs().boxes.size());
    std::printf("%.0f telegrams/s, %.2f MB/s (goal: one hour of line traffic in <= 10 s)\n", telegramme / sekunden,
                static_cast<double>(groesse) / 1e6 / sekunden);
    const bool ok = sekunden <= 10.0 && t.dialogs().boxes.empty() && angezeigt == telegramme;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}

}  // namespace krv::bench
