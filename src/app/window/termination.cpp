#include "app/window/termination.h"

#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tomvik::app {

namespace {

// A signal handler may only write to a pipe; the event loop reads it.
int g_wakeWrite = -1;

extern "C" void OnTerminationSignal(int) {
  const char byte = 1;
  if (g_wakeWrite >= 0) (void)!::write(g_wakeWrite, &byte, 1);
}

}  // namespace

void CloseOnTermination(QWidget& window) {
  int fds[2];
  if (::pipe(fds) != 0) return;
  for (int fd : fds) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
  g_wakeWrite = fds[1];
  const int readEnd = fds[0];

  auto* notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, &window);
  QPointer<QWidget> target(&window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [readEnd, target] {
    char drained[16];
    (void)!::read(readEnd, drained, sizeof drained);
    if (target) target->close();
  });

  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace tomvik::app
