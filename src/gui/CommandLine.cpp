#include "gui/CommandLine.hpp"

#include <QCommandLineParser>

namespace krv::gui {

CommandLine parseCommandLine(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Diagnosis of KRV safety controllers over a serial line."));
    const QCommandLineOption noSplash(QStringLiteral("no-splash"), QStringLiteral("Start without the splash window."));
    const QCommandLineOption configDir(QStringLiteral("config-dir"),
                                       QStringLiteral("Keep the settings file KrvDiag.ini in <dir>."),
                                       QStringLiteral("dir"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Connect the selected port to the simulated controller krvdiag-sim "
                                                 "for this run and start the data transfer."));
    const QCommandLineOption exitWhenShown(QStringLiteral("exit-when-shown"),
                                           QStringLiteral("End as soon as the main window has been shown, e.g. to "
                                                          "check that the program starts on this display."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program version."));
    parser.addOptions({noSplash, configDir, demo, exitWhenShown, help, version});

    CommandLine r;
    // The usage line names the program as the user types it, however it was started.
    r.helpText = parser.helpText();
    const qsizetype zeilenEnde = r.helpText.indexOf(QLatin1Char('\n'));
    r.helpText.replace(0, zeilenEnde, QStringLiteral("Usage: krvdiag [options]"));
    if (!parser.parse(args)) {
        r.fehler = parser.errorText();
        return r;
    }
    if (!parser.positionalArguments().isEmpty()) {
        r.fehler = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return r;
    }
    r.splash = !parser.isSet(noSplash);
    r.demo = parser.isSet(demo);
    r.exitWhenShown = parser.isSet(exitWhenShown);
    if (parser.isSet(configDir)) {
        r.configDir = parser.value(configDir);
        if (r.configDir->isEmpty()) r.fehler = QStringLiteral("--config-dir needs a directory.");
    }
    r.help = parser.isSet(help);
    r.version = parser.isSet(version);
    return r;
}

}  // namespace krv::gui
