#include "gui/SerialNotifier.hpp"

#include <QSocketNotifier>

namespace krv::gui {

SerialNotifier::SerialNotifier(platform::LinuxSerialPort& port, QObject* parent) : QObject(parent), port_(port) {
    port_.setDescriptorListener([this](int fd) { beobachte(fd); });
    if (port_.fd() >= 0) beobachte(port_.fd());
}

SerialNotifier::~SerialNotifier() { port_.setDescriptorListener({}); }

int SerialNotifier::beobachteterDeskriptor() const {
    return notifier_ != nullptr ? static_cast<int>(notifier_->socket()) : -1;
}

void SerialNotifier::beobachte(int fd) {
    if (notifier_ != nullptr) {
        // The port may close itself from inside the notifier's own signal: stop watching now,
        // delete later.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd < 0) return;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { port_.handleReadable(); });
}

}  // namespace krv::gui
