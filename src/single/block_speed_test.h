// How fast the drive moves the byte test's 4 MiB scratch file in one piece: one read call into
// memory, one write call into a copy. Closes the streams of the byte and block tests at its end.
#pragma once

void BlockSpeedTest();
