#include "app/run_sequence.h"

// The version, kept in the executable where drives-tesk-results reads it for the context of a
// run; the benchmark itself prints nothing of it.
extern "C" {
extern const char DrivesTeskVersionMark[];
[[gnu::used]] const char DrivesTeskVersionMark[] = "drives-tesk version mark: " DRIVES_TESK_VERSION;
}

int main() {
  return RunDrivesTesk();
}
