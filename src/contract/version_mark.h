// The benchmark's executable carries its version after a mark, where the companion reads it for
// a run's context; the benchmark prints nothing of it. The mark is in two parts, which the
// benchmark joins at compile time and the companion at run time, so that the companion's own
// executable never holds the whole mark.
#pragma once

#define DRIVES_TESK_VERSION_MARK_LEAD "drives-tesk version"
#define DRIVES_TESK_VERSION_MARK_TAIL " mark: "
