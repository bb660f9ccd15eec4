#include "gui/SerialNotifier.hpp"

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <poll.h>

namespace krv::gui {

SerialNotifier::SerialNotifier(platform::DeskriptorPort& port, QObject* parent) : QObject(parent), port_(port) {
    pause_.setSingleShot(true);
    pause_.setInterval(LesePauseMs);
    pause_.setTimerType(Qt::PreciseTimer);
    connect(&pause_, &QTimer::timeout, this, [this] {
        if (notifier_ == nullptr) return;
        if (port_.imKernel() > 0) {
            lies();
        } else {
            notifier_->setEnabled(true);  // the line is quiet (or hung up): wait for it
        }
    });
    port_.setDescriptorListener([this](int fd) { beobachte(fd); });
    port_.setWarter([](int fd, std::chrono::milliseconds frist) {
        QEventLoop loop;
        QSocketNotifier bereit(fd, QSocketNotifier::Read);
        QObject::connect(&bereit, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        QTimer::singleShot(frist, &loop, &QEventLoop::quit);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        QApplication::restoreOverrideCursor();
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    });
    if (port_.fd() >= 0) beobachte(port_.fd());
}

SerialNotifier::~SerialNotifier() {
    port_.setDescriptorListener({});
    port_.setWarter({});
}

int SerialNotifier::beobachteterDeskriptor() const {
    return notifier_ != nullptr ? static_cast<int>(notifier_->socket()) : -1;
}

void SerialNotifier::beobachte(int fd) {
    pause_.stop();
    if (notifier_ != nullptr) {
        // The port may close itself from inside the notifier's own signal: stop watching now,
        // delete later.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd < 0) return;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this, n = notifier_] {
        if (n == notifier_) lies();
    });
}

void SerialNotifier::lies() {
    // The rest starts before the port reads: a message box opened by a line error runs its own
    // event loop, and the port is read on inside it as before. A closing or reopening inside
    // stops the rest and watches the new descriptor at once.
    notifier_->setEnabled(false);  // no change, and no cost, while the line is read by the timer
    pause_.start();
    port_.handleReadable();
}

}  // namespace krv::gui
