// Prints the tables of the sequential rule from the library's own code: for each row of
// LookLevelTable, how often a session of no change crosses a side by chance over all its looks,
// and how many rounds a paired session takes to a verdict. From the checkout:
//
//   cmake --preset test && cmake --build build/test --target sequential_tables
//   build/test/sequential_tables [NULL_SESSIONS [POWER_SESSIONS]]    (defaults 100000 and 10000)
//
// The seeds are fixed and the generator's bits are mapped by hand, so the same arguments print the
// same tables on every platform. The defaults take about half a minute on the development machine.
#include <cstdio>
#include <cstdlib>

#include "results/comparing/sequential_rule.h"
#include "results/comparing/sequential_simulation.h"

namespace {

constexpr unsigned NullSeed = 1;
constexpr unsigned PowerSeed = 2;
constexpr int PowerCap = 30;
constexpr double PowerThreshold = 0.03;
constexpr double Changes[] = {0.05, 0.10, 0.25};
constexpr double Spreads[] = {0.05, 0.15, 0.40};

int SessionsArgument(int argc, char** argv, int index, int fallback) {
  if (argc <= index) {
    return fallback;
  }
  char* end = nullptr;
  const long value = std::strtol(argv[index], &end, 10);
  if (*argv[index] == '\0' || *end != '\0' || value < 1 || value > 10000000) {
    std::fprintf(stderr, "sequential_tables: sessions must be a number from 1 to 10000000\n");
    std::exit(2);
  }
  return static_cast<int>(value);
}

double Percent(double share) {
  return share * 100;
}

}  // namespace

int main(int argc, char** argv) {
  const int nullSessions = SessionsArgument(argc, argv, 1, 100000);
  const int powerSessions = SessionsArgument(argc, argv, 2, 10000);

  std::printf(
      "Sessions of no change crossing a side by chance at some look (%d sessions a row, seed "
      "%u):\n\n",
      nullSessions, NullSeed);
  std::printf(
      "| cap of rounds | paired level | above | below | unpaired level | above | below |\n"
      "|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const LookLevels& row : LookLevelTable) {
    const CrossingShares paired =
        PairedNullCrossings(row.maxRounds, row.paired, nullSessions, NullSeed);
    const CrossingShares unpaired =
        UnpairedNullCrossings(row.maxRounds, row.unpaired, nullSessions, NullSeed);
    std::printf("| %d | %.4g | %.2f%% | %.2f%% | %.4g | %.2f%% | %.2f%% |\n", row.maxRounds,
                row.paired, Percent(paired.upper), Percent(paired.lower), row.unpaired,
                Percent(unpaired.upper), Percent(unpaired.lower));
  }

  std::printf(
      "\nPaired rounds to a verdict, cap %d, threshold %g%% (%d sessions a row, seed %u):\n\n",
      PowerCap, Percent(PowerThreshold), powerSessions, PowerSeed);
  std::printf(
      "| true change | run spread | median rounds | decided within %d | verdict faster | median "
      "rounds of the decided |\n"
      "|---:|---:|---:|---:|---:|---:|\n",
      PowerCap);
  for (const double change : Changes) {
    for (const double spread : Spreads) {
      const PowerResult power =
          PairedPower(change, spread, PowerCap, PowerThreshold, powerSessions, PowerSeed);
      char median[32];
      if (power.medianRounds > PowerCap) {
        std::snprintf(median, sizeof median, "over %d", PowerCap);
      } else {
        std::snprintf(median, sizeof median, "%d", power.medianRounds);
      }
      std::printf("| +%g%% | %g%% | %s | %.1f%% | %.1f%% | %d |\n", Percent(change),
                  Percent(spread), median, Percent(power.decided), Percent(power.faster),
                  power.medianRoundsDecided);
    }
  }
  return 0;
}
