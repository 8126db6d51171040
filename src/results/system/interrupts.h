// Interrupts while `run` follows the benchmark: counted, never ending this program at once.
#pragma once

// From here on Ctrl-C, SIGTERM and a hang-up (Windows: Ctrl-C, Ctrl-Break, the console closing,
// logoff and shutdown) do not end this program: they are counted, and wake ChildProcess::Next.
// Each platform's child process file holds it, with the wake-up it shares with Next.
void CatchInterrupts();
bool Interrupted();
// How many interrupts have come.
int Interrupts();

// Counts one interrupt; safe in a signal handler.
void CountInterrupt();
