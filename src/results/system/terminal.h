// The terminal the progress line is drawn on.
#pragma once

// Whether standard error is a terminal, its width in columns (80 when it does not say), and
// whether it may be coloured (never on Windows consoles, never with NO_COLOR or TERM=dumb).
bool ErrorsOnTerminal();
int TerminalColumns();
bool TerminalTakesColour();
