#include "gui/SignalClose.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

namespace krv::gui {
namespace {

// A signal handler may only write to a pipe; the event loop reads the other end.
int g_pipe[2] = {-1, -1};

void signalEmpfangen(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &c, 1);
}

}  // namespace

SignalClose::SignalClose(QWidget& fenster) : fenster_(fenster) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char puffer[16];
        while (::read(g_pipe[0], puffer, sizeof puffer) > 0) {
        }
        schliessen();
    });
    struct sigaction sa {};
    sa.sa_handler = signalEmpfangen;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignale.size(); ++i) {
        if (::sigaction(kSignale[i], nullptr, &vorher_[i]) != 0 || vorher_[i].sa_handler == SIG_IGN) continue;
        uebernommen_[i] = ::sigaction(kSignale[i], &sa, nullptr) == 0;
    }
}

void SignalClose::schliessen() {
    // A message box or file dialog runs its own event loop, often deep inside an operation (the
    // recorder's Retry/Cancel box sits in its write loop). Closing the window from in there would
    // end the recording under the loop's feet: answer the box as its Esc key would, and close
    // the window once the operation has come back to the main loop.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &fenster_) {
        modal->close();
        QTimer::singleShot(kNachModalMs, this, &SignalClose::schliessen);
        return;
    }
    fenster_.close();
}

SignalClose::~SignalClose() {
    for (std::size_t i = 0; i < kSignale.size(); ++i) {
        if (uebernommen_[i]) ::sigaction(kSignale[i], &vorher_[i], nullptr);
    }
    for (int& fd : g_pipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

}  // namespace krv::gui
