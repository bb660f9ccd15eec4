// krvdiag-sim: a simulated KRV controller sending diagnostic telegrams.
#include <signal.h>
#include <time.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "core/state/StringTable.hpp"
#include "sim/Scenario.hpp"
#include "sim/SimOptions.hpp"
#include "sim/Sink.hpp"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int) { g_stop = 1; }

void installSignals() {
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no restart: a blocking write returns so the stop is seen
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

using Clock = std::chrono::steady_clock;

// When byte number n is due on a 960 bytes/s line.
Clock::time_point faellig(Clock::time_point start, std::uint64_t n) {
    return start + std::chrono::microseconds(n * 1'000'000 / krv::sim::Scenario::BytesProSekunde);
}

// Bytes due per wake-up: about 10 ms of line time.
constexpr std::uint64_t kSchub = 10;

int run(const krv::sim::SimOptions& o) {
    krv::sim::Sink sink = !o.listen.empty()   ? krv::sim::Sink::listen(o.listen)
                          : o.device.empty() ? krv::sim::Sink::pseudoTerminal()
                                             : krv::sim::Sink::device(o.device);
    if (sink.isPseudoTerminal()) {
        std::cout << sink.slavePath() << std::endl;  // first line, flushed: readers wait for it
    } else if (sink.isListening()) {
        std::cout << sink.address() << std::endl;
    }
    std::cerr << "krvdiag-sim: model " << o.model << " (" << krv::app::LoadResString(20 + o.model, 0) << "), seed "
              << o.seed << (o.fast ? ", fast" : ", 960 bytes/s") << "; Ctrl+C stops\n";

    krv::sim::Scenario scenario({o.model, o.seed, o.cpuErrors, o.crcErrors, o.garbage});
    const Clock::time_point start = Clock::now();
    std::uint64_t gesendet = 0;
    std::uint64_t telegramme = 0;

    while (!g_stop && (!o.count || telegramme < *o.count)) {
        const krv::Bytes t = scenario.next();
        ++telegramme;
        if (o.fast) {
            if (!sink.write(t, true, g_stop)) return 0;
            continue;
        }
        for (std::size_t pos = 0; pos < t.size() && !g_stop;) {
            const std::uint64_t rest = t.size() - pos;
            std::this_thread::sleep_until(faellig(start, gesendet + std::min(rest, kSchub)));
            const auto jetzt = Clock::now();
            // Everything whose time has come, however late the wake-up was.
            std::uint64_t n = std::min<std::uint64_t>(rest, kSchub);
            while (n < rest && faellig(start, gesendet + n + 1) <= jetzt) ++n;
            if (!sink.write(krv::ByteView(t).subspan(pos, n), false, g_stop)) return 0;
            pos += n;
            gesendet += n;
        }
    }
    if (!g_stop && sink.isPseudoTerminal()) {
        // The reader gets the last telegram before the line hangs up.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    krv::sim::SimOptions options;
    try {
        options = krv::sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const krv::sim::UsageError& e) {
        std::cerr << "krvdiag-sim: " << e.what() << "\n\n" << krv::sim::usageText();
        return 2;
    }
    if (options.help) {
        std::cout << krv::sim::usageText();
        return 0;
    }
    installSignals();
    try {
        return run(options);
    } catch (const krv::sim::DateiFehler& e) {
        std::cerr << "krvdiag-sim: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "krvdiag-sim: " << e.what() << "\n";
        return 70;
    } catch (...) {
        std::cerr << "krvdiag-sim: internal error\n";
        return 70;
    }
}
