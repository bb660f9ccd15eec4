#pragma once
// Lets the event loop drive the serial port: while the port is open its descriptor is watched,
// and readability (data, or a hang-up) makes the port read and raise its events. The watch
// follows every opening and closing, so a descriptor that is gone is never watched.
#include <QObject>

#include "platform/LinuxSerialPort.hpp"

class QSocketNotifier;

namespace krv::gui {

class SerialNotifier : public QObject {
    Q_OBJECT
public:
    explicit SerialNotifier(platform::LinuxSerialPort& port, QObject* parent = nullptr);
    ~SerialNotifier() override;

    // The descriptor being watched, -1 for none.
    int beobachteterDeskriptor() const;

private:
    void beobachte(int fd);

    platform::LinuxSerialPort& port_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace krv::gui
