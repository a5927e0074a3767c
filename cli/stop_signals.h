#pragma once

namespace kadrix::cli {

// SIGINT and SIGTERM (what Ctrl-C, Slurm and Kubernetes send) ask the run to
// stop: no new picture is started, those in hand finish and commit, and the
// summary is printed. A second signal ends the program at once.
void installStopSignals();

// The signal that asked the run to stop, 0 while none did.
int stopSignal();

// The exit status of a run stopped by `signal`: 128 + its number (130 for
// SIGINT, 143 for SIGTERM), as shells report it.
inline int stoppedStatus(int signal) {
    return 128 + signal;
}

} // namespace kadrix::cli
