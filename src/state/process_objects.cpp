// Definitions of every process-wide object, in one translation unit so that they are set up in
// this order before main and torn down in the reverse order after it. A stream that still holds a
// file at exit is closed by its destructor, which writes out what it buffers.
#include <fstream>

#include "platform/platform.h"
#include "state/global_streams.h"
#include "state/run_state.h"
#include "state/thread_slots.h"

RunValues RunState{};

std::ofstream byteOut;
std::ifstream byteIn;
std::ofstream blockOut;

SlotTable<std::ofstream> threadBlockOut;
SlotTable<std::ifstream> threadByteIn;
SlotTable<std::ofstream> threadByteOut;
SlotTable<std::ofstream> threadCycleOut;
SlotTable<std::ifstream> threadCycleIn;

std::ofstream cycleOut;
std::ifstream cycleIn;

const char* const startDirectory = CurrentDirectory();

std::ofstream ResultsLog;
