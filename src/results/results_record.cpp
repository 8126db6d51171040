#include "results/results_record.h"

namespace {

bool IsBlockMeasure(Measure measure) {
  return measure == Measure::BlockRead || measure == Measure::BlockWrite;
}

template <typename Shown>
double Rate(Measure measure, const Shown& figures) {
  if (IsCycleMeasure(measure)) {
    return figures.filesPerSecond;
  }
  return IsBlockMeasure(measure) ? figures.megabytesPerSecond : figures.millionsPerSecond;
}

}  // namespace

double ShownRate(Measure measure, const Figures& figures) {
  return Rate(measure, figures);
}

double ShownRate(Measure measure, const OverallFigures& figures) {
  return Rate(measure, figures);
}

const char* ShownUnit(Measure measure) {
  if (IsCycleMeasure(measure)) {
    return "files/s";
  }
  return IsBlockMeasure(measure) ? "MB/s" : "M accesses/s";
}
