// A request to end the program from outside (the desktop session ending,
// `kill`, Ctrl+C in the terminal) closes the main window as the user would:
// the usual questions about unsaved ledgers, then the settings written.
#pragma once

#include <QWidget>

namespace tomvik::app {

// Catches SIGTERM, SIGINT and SIGHUP for the rest of the program's life and
// closes `window` on each. Call once, after the window exists.
void CloseOnTermination(QWidget& window);

}  // namespace tomvik::app
