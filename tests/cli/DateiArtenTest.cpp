// krvdiag-cli against every kind of path a user can get wrong, for each subcommand's inputs and
// outputs: the message names the path and the system's reason, the exit status is 2, nothing
// aborts; a FIFO is read as it streams, and a reader of the output that goes away ends it quietly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempVerzeichnis.hpp"

namespace {

using krv::test::TempVerzeichnis;

const std::string kDaten = KRVDIAG_TEST_DATA_DIR;
const std::string kScanIn = kDaten + "/cli-examples/scan-basics.in";
const std::string kLog = kDaten + "/cli-examples/record-mode0.log";
const std::string kWmf = kDaten + "/wmf/valid-text.wmf";

enum class Art { Fehlt, Verzeichnis, Unlesbar, NurLesbaresVerzeichnis, VollesGeraet,
                 Fifo, StdoutVoll, StdoutZu };

struct Lauf {
    int status = -1;
    std::string out, err;
};

// Runs krvdiag-cli with stdout and stderr in files (stdout: `stdoutPfad`, or a pipe whose reader
// has gone when it is empty), as the user nobody when `alsNobody`.
Lauf laufe(const std::vector<std::string>& args, const TempVerzeichnis& dir, bool alsNobody,
           const std::string& stdoutPfad) {
    const std::string outPfad = dir.pfad("stdout"), errPfad = dir.pfad("stderr");
    int rohr[2] = {-1, -1};
    if (stdoutPfad.empty() && ::pipe(rohr) != 0) return {};
    // Everything the child needs is made before the fork: another thread may hold the heap.
    std::vector<char*> argv{const_cast<char*>(KRVDIAG_CLI_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const passwd* n = alsNobody ? ::getpwnam("nobody") : nullptr;
    const uid_t uid = n ? n->pw_uid : 0;
    const gid_t gid = n ? n->pw_gid : 0;
    const pid_t kind = ::fork();
    if (kind == 0) {
        constexpr int kNeu = O_WRONLY | O_CREAT | O_TRUNC;
        const int out = stdoutPfad.empty() ? rohr[1] : ::open(stdoutPfad.c_str(), kNeu, 0644);
        const int err = ::open(errPfad.c_str(), kNeu, 0644);
        ::dup2(out, STDOUT_FILENO), ::dup2(err, STDERR_FILENO);
        const bool gewechselt = uid != 0 && ::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0;
        if (alsNobody && (!gewechselt || ::setuid(uid) != 0)) ::_exit(99);
        ::execv(argv[0], argv.data());
        ::_exit(98);
    }
    if (stdoutPfad.empty()) ::close(rohr[0]), ::close(rohr[1]);
    Lauf lauf;
    ::waitpid(kind, &lauf.status, 0);
    lauf.status = WIFEXITED(lauf.status) ? WEXITSTATUS(lauf.status) : 128 + WTERMSIG(lauf.status);
    if (stdoutPfad == outPfad) lauf.out = TempVerzeichnis::lies(outPfad);
    lauf.err = TempVerzeichnis::lies(errPfad);
    return lauf;
}

struct Fall {
    std::vector<std::string> args;  // "@" stands for the path under test
    std::string gueltig;            // a good file for that place (for the FIFO's content)
    Art art;
};

std::vector<Fall> faelle(const TempVerzeichnis& dir) {
    std::vector<Fall> f;
    const std::string png = dir.pfad("bild.png"), log = dir.pfad("aus.log");
    std::vector<std::pair<std::vector<std::string>, std::string>> eingaben{
        {{"scan", "@"}, kScanIn}, {{"show", "--lang", "en", "@"}, kScanIn}, {{"dump", "@"}, kLog},
        {{"dump", "--csv", "@"}, kLog}, {{"record", "@", log}, kScanIn}};
    std::vector<std::vector<std::string>> ausgaben{{"record", kScanIn, "@"},
                                                   {"dump", "--vcd", "-o", "@", kLog}};
#ifdef KRVDIAG_CLI_RENDER_WMF
    eingaben.push_back({{"render-wmf", "@", png}, kWmf});
    ausgaben.push_back({"render-wmf", kWmf, "@"});
#endif
    for (const auto& [args, gueltig] : eingaben) {
        for (Art a : {Art::Fehlt, Art::Verzeichnis, Art::Unlesbar}) f.push_back({args, gueltig, a});
        if (args[0] != "render-wmf") f.push_back({args, gueltig, Art::Fifo});
        if (args[0] != "record" && args[0] != "render-wmf") {
            std::vector<std::string> gut = args;
            std::replace(gut.begin(), gut.end(), std::string("@"), gueltig);
            f.push_back({gut, "standard output", Art::StdoutVoll});
            f.push_back({gut, "", Art::StdoutZu});
        }
    }
    for (const auto& args : ausgaben) {
        for (Art a : {Art::Fehlt, Art::Verzeichnis, Art::NurLesbaresVerzeichnis, Art::VollesGeraet})
            f.push_back({args, "", a});
    }
    return f;
}

TEST(CliDateiArten, EveryPathKindIsNamedWithItsReasonAndNeverAborts) {
    const bool root = ::geteuid() == 0;
    const bool nobody = root && ::getpwnam("nobody") != nullptr;
    if (root && !nobody) GTEST_SKIP() << "run as root and no user 'nobody': permissions cannot be tried";
    TempVerzeichnis dir;
    std::filesystem::permissions(dir.pfad(), std::filesystem::perms::all);  // nobody may enter and write
    for (const Fall& fall : faelle(dir)) {
        std::string pfad;
        std::string grund;
        switch (fall.art) {
            case Art::Fehlt: pfad = dir.pfad("fehlt/datei"), grund = "No such file or directory"; break;
            case Art::Verzeichnis: pfad = dir.pfad(), grund = "is a directory, not a file"; break;
            case Art::Unlesbar:
                pfad = dir.schreibe("geheim", "L"), grund = "Permission denied";
                std::filesystem::permissions(pfad, std::filesystem::perms::none);
                break;
            case Art::NurLesbaresVerzeichnis:
                std::filesystem::create_directory(dir.pfad("nurlesen"));
                std::filesystem::permissions(dir.pfad("nurlesen"), std::filesystem::perms::owner_read |
                                                                      std::filesystem::perms::others_read |
                                                                      std::filesystem::perms::others_exec);
                pfad = dir.pfad("nurlesen/aus"), grund = "Permission denied";
                break;
            case Art::VollesGeraet: pfad = "/dev/full", grund = "No space left on device"; break;
            case Art::Fifo:
                pfad = dir.pfad("fifo");
                std::filesystem::remove(pfad);
                ASSERT_EQ(::mkfifo(pfad.c_str(), 0666), 0);
                break;
            case Art::StdoutVoll: pfad = "standard output", grund = "No space left on device"; break;
            case Art::StdoutZu: break;
        }
        std::vector<std::string> args = fall.args;
        std::replace(args.begin(), args.end(), std::string("@"), pfad);
        std::string text;
        for (const std::string& a : args) text += a + ' ';
        SCOPED_TRACE(text + "(" + std::to_string(static_cast<int>(fall.art)) + ")");

        const bool rechte = fall.art == Art::Unlesbar || fall.art == Art::NurLesbaresVerzeichnis;
        if (fall.art == Art::Fifo) {
            // The writer hands the bytes over in two parts with a pause: the reader must wait.
            std::thread schreiber([&] {
                const std::string inhalt = TempVerzeichnis::lies(fall.gueltig);
                std::ofstream fifo(pfad, std::ios::binary);
                fifo << inhalt.substr(0, inhalt.size() / 2) << std::flush;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                fifo << inhalt.substr(inhalt.size() / 2);
            });
            const Lauf lauf = laufe(args, dir, false, dir.pfad("stdout"));
            schreiber.join();
            std::vector<std::string> gut = fall.args;
            std::replace(gut.begin(), gut.end(), std::string("@"), fall.gueltig);
            const Lauf datei = laufe(gut, dir, false, dir.pfad("stdout"));
            EXPECT_EQ(std::tie(lauf.status, lauf.err), std::tie(datei.status, datei.err));
            if (fall.args[0] != "record") EXPECT_EQ(lauf.out, datei.out);
            EXPECT_EQ(datei.status, 0);
            continue;
        }
        const std::string stdoutPfad =
            fall.art == Art::StdoutZu ? "" : fall.art == Art::StdoutVoll ? "/dev/full" : dir.pfad("stdout");
        const Lauf lauf = laufe(args, dir, rechte && nobody, stdoutPfad);
        if (fall.art == Art::StdoutZu) {
            EXPECT_EQ(lauf.status, 0);
            EXPECT_EQ(lauf.err, "");
            continue;
        }
        EXPECT_EQ(lauf.status, 2) << lauf.err;
        EXPECT_NE(lauf.err.find("krvdiag-cli: " + pfad + ": " + grund + "\n"), std::string::npos) << lauf.err;
    }
}

}  // namespace
