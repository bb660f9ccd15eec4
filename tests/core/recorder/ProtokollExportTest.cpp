// The VCD export's timing: where each record's values start, what changes are written, and
// which files are rejected.
#include <map>
#include <sstream>

#include "core/recorder/ProtokollExport.hpp"
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

// The changes of T1, T13, the CPU error and the repeat count as "#time name=value ...", then the closing time
// stamp; a wire the file does not declare shows as "name=-" once at the start.
std::string verlauf(const std::string& vcd) {
    std::map<std::string, std::string> ids;  // id -> name
    std::istringstream in(vcd);
    std::string zeile, out, zeit;
    for (const char* name : {"T1", "T13", "repeat"}) {
        if (vcd.find(std::string(" ") + name + " $end") == std::string::npos)
            out += std::string(name) + "=- ";
    }
    while (std::getline(in, zeile)) {
        std::istringstream w(zeile);
        std::string a, b, c, id, name;
        if (zeile.rfind("$var", 0) == 0 && (w >> a >> b >> c >> id >> name)) ids[id] = name;
        if (const auto z = zeile.find(" time stamps went backwards"); z != std::string::npos) {
            out +=
                "clamped:" + zeile.substr(zeile.rfind(' ', z - 1) + 1, z - zeile.rfind(' ', z - 1) - 1) + ' ';
        }
        if (zeile[0] == '#') zeit = zeile;
        const bool vektor = zeile[0] == 'r';  // a real variable: r<value> <id>
        const std::string wert = vektor ? zeile.substr(1, zeile.find(' ') - 1) : zeile.substr(0, 1);
        const std::string kennung = vektor ? zeile.substr(zeile.find(' ') + 1) : zeile.substr(1);
        const auto it = ids.find(kennung);
        if (zeile[0] == '#' || zeile[0] == '$' || it == ids.end() || it->second == "model" ||
            (it->second[0] == 'T' && it->second != "T1" && it->second != "T13")) {
            continue;
        }
        if (!zeit.empty()) out += zeit + ' ', zeit.clear();
        out += it->second + '=' + wert + ' ';
    }
    return out + zeit;
}

struct Fall {
    const char* name;
    Bytes datei;
    std::string erwartet;  // verlauf(), or "rejected N"
};

// Model 9; T1 on for odd i; with a fault, T13 at high impedance and CPU error 7.
Bytes rec(int i, std::uint8_t wdh, double t, bool fehler = false, std::uint8_t modell = 0x09) {
    link::StatusBlock b = block(i, modell);
    if (fehler) b[6] = 0x08, b[0] |= 0x10, b[15] = 7;
    return satz(b, wdh, t);
}
const Bytes kKopf = version1() + kanaele({}) + trigger(0, 200);
const double kMs = 1.0 / 86400000;

TEST(ProtokollExport, VcdValuesHoldFromThePreviousTimeStampToTheirOwn) {
    const Fall faelle[] = {
        {"first record starts repeat x 20 ms before its time stamp", kKopf + rec(1, 5, zeit(0)),
         "#0 T1=1 T13=0 cpu_error=0 repeat=5 #100"},
        {"each record from the previous time stamp; unchanged values not written",
         kKopf + rec(1, 1, zeit(0)) + rec(2, 3, zeit(1), true) + rec(3, 3, zeit(2)) + rec(5, 255, zeit(3)),
         "#0 T1=1 T13=0 cpu_error=0 repeat=1 #20 T1=0 T13=z cpu_error=7 repeat=3 #1020 T1=1 T13=0 cpu_error=0 "
         "#2020 repeat=255 #3020"},
        {"clock going backwards is clamped; a record of no length vanishes",
         kKopf + rec(1, 1, zeit(5)) + rec(2, 1, zeit(3)) + rec(4, 2, zeit(6)) + rec(5, 1, zeit(6) - 7 * kMs),
         "clamped:2 #0 T1=1 T13=0 cpu_error=0 repeat=1 #20 T1=0 repeat=2 #1020 T1=1 repeat=1 #1021"},
        {"bad check byte is skipped", kKopf + rec(1, 1, zeit(0)) + Bytes(19, 'L') + rec(2, 1, zeit(1)),
         "#0 T1=1 T13=0 cpu_error=0 repeat=1 #20 T1=0 #1020"},
        {"model without T1", kKopf + rec(1, 1, zeit(0), false, 0x02), "T1=- #0 T13=0 cpu_error=0 repeat=1 #20"},
        {"header but no data record", kKopf, "rejected 6010"},
        {"only records of repeat count 0", kKopf + rec(1, 0, zeit(0)), "rejected 6010"},
        {"no version record", kanaele({}) + rec(1, 1, zeit(0)), "rejected 6013"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ports::MemoryFileSource quelle;
        quelle.files["/a/trip.log"] = f.datei;
        std::ostringstream vcd;
        const ExportErgebnis e =
            exportiereProtokoll(*quelle.open("/a/trip.log").file, "trip.log", ExportFormat::Vcd, vcd);
        if (e.ablehnung) {
            EXPECT_EQ("rejected " + std::to_string(*e.ablehnung), f.erwartet);
            EXPECT_EQ(vcd.str(), "");
            continue;
        }
        EXPECT_EQ(verlauf(vcd.str()), f.erwartet) << vcd.str();
        EXPECT_NE(vcd.str().find("$timescale 1 ms $end"), std::string::npos);
        EXPECT_NE(vcd.str().find("file trip.log"), std::string::npos);
    }
}

}  // namespace
}  // namespace krv::recorder::test
