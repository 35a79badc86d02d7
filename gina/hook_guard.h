// The one way a low-level hook procedure asks whether to swallow an event. The procedure runs
// inside USER32's input dispatch: an exception must never leave it, and a decision that failed
// must let the event pass, so that a fault in the filter costs one block, never the keyboard.
#pragma once

namespace sentavo::gina {

// True to swallow the event; false when `decide` says so or throws.
template <class Decide>
bool SwallowOrPass(Decide&& decide) noexcept {
  try {
    return decide();
  } catch (...) {
    return false;
  }
}

// The hook thread's other work (re-hiding the shell, a journal entry): a failure is dropped and
// the next timer tick or taskbar restart tries again, the hooks stay in place.
template <class Work>
void RunGuarded(Work&& work) noexcept {
  try {
    work();
  } catch (...) {
  }
}

}  // namespace sentavo::gina
