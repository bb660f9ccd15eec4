#pragma once
// Lets the event loop drive the serial port: while the port is open its descriptor is watched,
// and readability (data, or a hang-up) makes the port read and raise its events. The watch
// follows every opening and closing, so a descriptor that is gone is never watched.
//
// While data flows the descriptor is not watched: after each read a single-shot timer looks
// again LesePauseMs later (one FIONREAD) and reads what came meanwhile, so bytes that trickle
// in (a pseudo-terminal, or a UART with a low FIFO trigger, wakes a watcher for a few bytes at a
// time) are taken in one read, about one wake-up per short telegram instead of two or more.
// Only when nothing came is the descriptor watched again; switching the watch on and off for
// every read would cost the event loop a wake-up signal of its own each time.
//
// An opening that waits for a network connection runs the event loop meanwhile (the window
// repaints, timers run), but holds back keys and clicks until the port is open or has failed.
#include <QObject>
#include <QTimer>

#include "platform/DeskriptorPort.hpp"

class QSocketNotifier;

namespace krv::gui {

class SerialNotifier : public QObject {
    Q_OBJECT
public:
    // A short telegram (19 bytes) takes 20 ms on the line; resting a little less keeps the
    // display at most one rest behind the last byte (latency goal 20 ms) while a line that
    // delivers every 10 ms still needs fewer than 60 wake-ups a second.
    static constexpr int LesePauseMs = 17;

    explicit SerialNotifier(platform::DeskriptorPort& port, QObject* parent = nullptr);
    ~SerialNotifier() override;

    // The descriptor being watched, -1 for none.
    int beobachteterDeskriptor() const;

private:
    void beobachte(int fd);
    void lies();

    platform::DeskriptorPort& port_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer pause_;
};

}  // namespace krv::gui
