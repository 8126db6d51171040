#include "app/run_sequence.h"

int main() {
  return RunDrivesTesk();
}
