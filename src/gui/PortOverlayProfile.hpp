#pragma once
// The settings file with some values replaced for this run only: the demo connects the
// selected port to the simulator and preselects its timing channels without writing anything
// to the user's file. Every other read and every write goes to the file.
#include <map>
#include <string>

#include "core/ports/ProfileStore.hpp"

namespace krv::gui {

class PortOverlayProfile : public ports::ProfileStore {
public:
    explicit PortOverlayProfile(ports::ProfileStore& datei) : datei_(datei) {}

    // Port nr (1..4) uses this device until the program ends.
    void setPortGeraet(int nr, std::string geraet);
    // The value of section/key until the program ends, or until a different value is written
    // (the user's own choice), which goes to the file.
    void setSitzungsWert(std::string_view section, std::string_view key, std::string wert);

    int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
    std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) override;
    bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value) override;

private:
    const std::string* ersetzt(std::string_view section, std::string_view key) const;

    ports::ProfileStore& datei_;
    std::map<std::string, std::string> geraete_;  // key "COM1".."COM4" in upper case
    std::map<std::string, std::string> werte_;    // key "SECTION]KEY" in upper case
};

}  // namespace krv::gui
