#pragma once

namespace Orza::SystemBeep {

/// The system's alert sound, for an action that cannot be done and has nothing to say.
void beep();
/// How many beeps were asked for in this process; tests read it.
int count();

} // namespace Orza::SystemBeep
