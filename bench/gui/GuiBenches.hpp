#pragma once
// The measurements krvdiag-gui-bench runs; each returns the exit status (0 goal met, 1 missed,
// 2 could not measure).
namespace krv::bench {

int latenz(int sekunden);
int cpuDatenWiedergabe(int telegramme);
int protokollWiedergabe(int saetze, int gruppen, bool kanaeleGesetzt);
int startZeit();

}  // namespace krv::bench
