// Window places and sizes from a damaged settings file: values no screen can show fall back to
// the key's default, so the help window and the CPU error window always open where they can be
// seen; every value a window can have is taken as stored.
#include <gtest/gtest.h>

#include "core/app/HilfeFenster.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/app/StartupSettings.hpp"
#include "core/diag/CpuFehlerFenster.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"

namespace krv::app {
namespace {

TEST(FensterGeometrie, HelpWindowTakesEveryShowableValueAndDefaultsTheRest) {
    MemoryProfile profile("[HilfeFenster]\nlinks=-99999999999\noben=491505\nbreite=0\nhoehe=491506\n");
    ProgramState state;
    ports::ScriptedDialogs dialogs;
    ports::RecordingPrinter printer;
    HilfeFenster hilfe(state, profile, dialogs, printer);
    hilfe.mnuHilfe_Click();
    EXPECT_EQ(hilfe.geometrie(), (HilfeGeometrie{1000, 491505, 8000, 8000}));

    MemoryProfile klein("[HilfeFenster]\nlinks=-491505\noben=-1\nbreite=1\nhoehe=240\n");
    HilfeFenster hilfe2(state, klein, dialogs, printer);
    hilfe2.mnuHilfe_Click();
    EXPECT_EQ(hilfe2.geometrie(), (HilfeGeometrie{-491505, -1, 1, 240}));
}

TEST(FensterGeometrie, ErrorWindowPlaceBeyondTheScreenRangeIsTheDefault) {
    ProgramState state;
    MemoryProfile profile("[FehlerFenster]\nlinks=2147483647\noben=-491506\n");
    diag::CpuFehlerFenster fenster(state, profile);
    fenster.Show();
    EXPECT_EQ(fenster.links(), 3030);
    EXPECT_EQ(fenster.oben(), 6240);

    MemoryProfile gut("[FehlerFenster]\nlinks=-200\noben=0\n");
    diag::CpuFehlerFenster fenster2(state, gut);
    fenster2.Show();
    EXPECT_EQ(fenster2.links(), -200);
    EXPECT_EQ(fenster2.oben(), 0);
}

}  // namespace
}  // namespace krv::app
