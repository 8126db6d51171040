#include "results/record/run_record.h"

namespace {

template <typename AnyFigures>
double Rate(Measure measure, const AnyFigures& figures) {
  switch (Describe(measure).kind) {
    case FigureKind::Files:
      return figures.filesPerSecond;
    case FigureKind::Accesses:
      return figures.millionsPerSecond;
    case FigureKind::Megabytes:
      return figures.megabytesPerSecond;
  }
  return Missing;
}

}  // namespace

double ReportRate(Measure measure, const Figures& figures) {
  return Rate(measure, figures);
}

double ReportRate(Measure measure, const OverallFigures& figures) {
  return Rate(measure, figures);
}

const char* ReportUnit(Measure measure) {
  switch (Describe(measure).kind) {
    case FigureKind::Files:
      return "files/s";
    case FigureKind::Accesses:
      return "M accesses/s";
    case FigureKind::Megabytes:
      return "MB/s";
  }
  return "";
}

double Efficiency(const RunRecord& run, Measure measure) {
  return run.overall[Index(measure)].improvement / run.threads;
}
