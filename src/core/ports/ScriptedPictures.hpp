#pragma once
// Picture loading without pictures: every request is kept, and a load succeeds unless its file
// name is on the list of names that fail. For tests and the command-line tool.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/ports/Pictures.hpp"

namespace krv::ports {

class ScriptedPictures : public Pictures {
public:
    struct Anfrage {
        Bildbereich bereich;
        std::string pfad;  // empty: the area was emptied
    };

    std::vector<Anfrage> anfragen;  // every load and every emptying, in order

    bool laden(Bildbereich bereich, const std::string& pfad) override {
        anfragen.push_back({bereich, pfad});
        return fehlschlagend_.count(dateiName(pfad)) == 0;
    }
    void leeren(Bildbereich bereich) override { anfragen.push_back({bereich, {}}); }

    // Number of load requests (emptying not counted).
    std::size_t ladeVersuche() const {
        std::size_t n = 0;
        for (const Anfrage& a : anfragen) n += a.pfad.empty() ? 0 : 1;
        return n;
    }

protected:
    ScriptedPictures() = default;
    explicit ScriptedPictures(std::set<std::string> fehlschlagend) : fehlschlagend_(std::move(fehlschlagend)) {}

private:
    // The file name without its directory; either separator counts.
    static std::string dateiName(const std::string& pfad) {
        const auto pos = pfad.find_last_of("/\\");
        return pos == std::string::npos ? pfad : pfad.substr(pos + 1);
    }

    std::set<std::string> fehlschlagend_;
};

// Every picture file loads.
class AlwaysLoads : public ScriptedPictures {
public:
    AlwaysLoads() = default;
};

// Loads fail for the given file names (exact spelling, e.g. "ST-CBXTX.WMF"), all others succeed.
class FailsOnName : public ScriptedPictures {
public:
    explicit FailsOnName(std::set<std::string> namen) : ScriptedPictures(std::move(namen)) {}
};

}  // namespace krv::ports
