#pragma once
// Ctrl+C in the terminal, a polite kill or the terminal going away closes the main window as
// its close box would, so the port is released, a running recording is finished and the
// demo's simulator ends.
#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;
class QWidget;

namespace krv::gui {

class SignalClose : public QObject {
    Q_OBJECT
public:
    // The signals that close the window: SIGINT, SIGTERM and SIGHUP.
    static constexpr std::array<int, 3> kSignale{SIGINT, SIGTERM, SIGHUP};

    // Handles kSignale from now on by closing fenster; one instance per program. A signal the
    // program was started with ignored (nohup, a background job) stays ignored.
    explicit SignalClose(QWidget& fenster);
    // Puts the previous handling of the signals back.
    ~SignalClose() override;

private:
    static constexpr int kNachModalMs = 50;
    void schliessen();

    QWidget& fenster_;
    QSocketNotifier* notifier_ = nullptr;
    std::array<struct sigaction, kSignale.size()> vorher_{};
    std::array<bool, kSignale.size()> uebernommen_{};
};

}  // namespace krv::gui
