#pragma once
// The options of krvdiag.
#include <QString>
#include <QStringList>
#include <optional>

namespace krv::gui {

struct CommandLine {
    bool splash = true;
    bool demo = false;
    bool exitWhenShown = false;  // --exit-when-shown
    std::optional<QString> configDir;
    bool help = false;
    bool version = false;
    QString helpText;
    QString fehler;  // not empty: the options could not be used
};

// args includes the program name first, as QCoreApplication::arguments() gives them.
CommandLine parseCommandLine(const QStringList& args);

}  // namespace krv::gui
