// The last line of defence of the process: an error that escapes start-up
// (or the event loop) is shown in a message box and on standard error, and
// the process ends with a failure status instead of aborting without a word.
#pragma once

#include <functional>

namespace tomvik::app {

// Runs `body` and returns what it returns. An exception that escapes it is
// reported and gives EXIT_FAILURE.
int RunGuarded(const std::function<int()>& body);

}  // namespace tomvik::app
