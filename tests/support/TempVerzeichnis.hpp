#pragma once
// A fresh directory per test under the system's temporary directory, removed with everything
// in it afterwards (also when a test took its write permission away).
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace krv::test {

class TempVerzeichnis {
public:
    TempVerzeichnis() {
        std::string muster = (std::filesystem::temp_directory_path() / "krvdiag-test-XXXXXX").string();
        if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        pfad_ = muster;
    }
    ~TempVerzeichnis() {
        std::error_code ec;
        std::filesystem::permissions(pfad_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(pfad_, ec);
    }
    TempVerzeichnis(const TempVerzeichnis&) = delete;
    TempVerzeichnis& operator=(const TempVerzeichnis&) = delete;

    const std::filesystem::path& pfad() const { return pfad_; }
    std::string pfad(const std::string& name) const { return (pfad_ / name).string(); }
    // With a closing separator, as the program's own directory is given.
    std::string programmPfad() const { return pfad_.string() + "/"; }
    // Writes a file in the directory and returns its path.
    std::string schreibe(const std::string& name, const std::string& inhalt) const {
        std::ofstream(pfad_ / name, std::ios::binary) << inhalt;
        return pfad(name);
    }
    static std::string lies(const std::string& pfad) {
        std::ifstream in(pfad, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path pfad_;
};

}  // namespace krv::test
