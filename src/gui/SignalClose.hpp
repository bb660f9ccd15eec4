#pragma once
// Ctrl+C in the terminal or a polite kill closes the main window as its close box would, so
// the port is released, a running recording is finished and the demo's simulator ends.
#include <QObject>

class QSocketNotifier;
class QWidget;

namespace krv::gui {

class SignalClose : public QObject {
    Q_OBJECT
public:
    // Handles SIGINT and SIGTERM from now on by closing fenster; one instance per program.
    explicit SignalClose(QWidget& fenster);
    ~SignalClose() override;

private:
    QWidget& fenster_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace krv::gui
