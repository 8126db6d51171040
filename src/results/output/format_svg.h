// `chart`: one self-contained SVG with a small bar chart per drive figure, one bar per file, the
// value written at each bar. Single-thread figures on the left, all-worker figures on the right,
// the caveats under them.
#pragma once

#include "results/output/markup_text.h"
