#pragma once
// Turns the requests to end the process (SIGTERM from the session or `kill`, SIGINT from a
// terminal's Ctrl+C, SIGHUP when the terminal or session goes away) into bytes on a pipe, so the
// window can close through its normal close and destroy steps (bookmark saved, temporary folder
// deleted) instead of dying in the middle. The window watches the pipe with a QSocketNotifier;
// a signal handler itself can do nothing more than write one byte.

namespace ebook {

// Installs the handlers (once; later calls return the same descriptor) and returns the read
// end of the pipe, non-blocking and closed on exec. Each signal writes one byte, its number.
// Throws std::system_error when the pipe cannot be made.
int InstallTerminationSignals();

// True once a termination signal has arrived since the handlers were installed (it stays true
// when TakeTerminationSignal empties the pipe). Start-up steps that run before the window can
// close (extracting the book, waiting for the first page) ask this between their steps.
bool TerminationRequested();

// Reads every byte waiting on the pipe and returns the number of the last signal, or 0 when
// none was waiting.
int TakeTerminationSignal();

// Puts back the default actions, so a further signal ends the process at once (for a window
// that is already closing and must not be held up by a second request it cannot serve).
void RestoreDefaultTerminationSignals();

}  // namespace ebook
