// How many processors the benchmark's workers may run on.
#pragma once

// The processors this process may run on (its affinity mask), as OpenMP counts them; 0 when the
// system does not say.
unsigned ProcessorsAvailable();
