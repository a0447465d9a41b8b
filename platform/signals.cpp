#include "platform/signals.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t endSignal = 0;
bool quitGiven = false;

void OnEndSignal(int number) { endSignal = number; }

}  // namespace

void CatchEndSignals() {
  // SDL installs its handlers only where none is set; the hint makes sure it never does.
  setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // file writes and sleeps go on; the flag is read between them
  for (int number : {SIGTERM, SIGINT, SIGHUP}) sigaction(number, &action, nullptr);
}

bool EndRequested() { return endSignal != 0; }

int TakeEndEvent(SDL_Event* event, bool poll) {
  quitGiven = poll ? !quitGiven : true;
  if (!quitGiven) return 0;
  *event = SDL_Event{};
  event->type = SDL_QUIT;
  return 1;
}

bool IsEndOfProgram(const SDL_Event& event) { return event.type == SDL_QUIT && EndRequested(); }
