#include "app/run_sequence.h"
#include "contract/version_mark.h"

extern "C" {
extern const char DrivesTeskVersionMark[];
[[gnu::used]] const char DrivesTeskVersionMark[] =
    DRIVES_TESK_VERSION_MARK_LEAD DRIVES_TESK_VERSION_MARK_TAIL DRIVES_TESK_VERSION;
}

int main() {
  return RunDrivesTesk();
}
