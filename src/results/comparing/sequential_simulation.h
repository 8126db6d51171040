// Simulated sessions of the sequential rule: how often it crosses a side when nothing changed, and
// how many rounds it takes to a verdict when something did. Seeded, with the generator's bits
// mapped by hand (the standard's distributions differ between libraries), so that every platform
// gets the same tables.
#pragma once

#include <cstdint>
#include <random>

// Uniform on (-1, 1), never 0: 52 bits of the generator, mapped exactly.
double SymmetricUniform(std::mt19937_64& engine);

// Standard normal, by the polar method over SymmetricUniform.
double StandardNormal(std::mt19937_64& engine);

// The shares of sessions in which some look's interval lay wholly above no change, and wholly
// below.
struct CrossingShares {
  double upper = 0;
  double lower = 0;
};

// `sequences` sessions of no change with `cap` looks each, look k taking the first k rounds, each
// look's interval at oneTailLevel: paired rounds (the signed-rank interval) and unpaired runs (the
// Mann-Whitney interval, k runs a side). Zero shares for a cap outside 1 .. MaxPairs.
CrossingShares PairedNullCrossings(int cap, double oneTailLevel, int sequences, std::uint64_t seed);
CrossingShares UnpairedNullCrossings(int cap, double oneTailLevel, int sequences,
                                     std::uint64_t seed);

struct PowerResult {
  int medianRounds = 0;         // cap + 1 where fewer than half the sessions reach a verdict
  int medianRoundsDecided = 0;  // of the sessions that reach one; 0 where none does
  double decided = 0;           // the share of sessions with a verdict within the cap
  double faster = 0;            // the share whose verdict is "faster"
};

// `sequences` sessions of paired rounds, at the levels of LevelsForCap(cap), stopped at the first
// verdict of the running intersection: each run's figure lognormal with `spread` the standard
// deviation of its log, the later column's figure (1 + change) times the first's at the median,
// the two runs of a round independent.
PowerResult PairedPower(double change, double spread, int cap, double threshold, int sequences,
                        std::uint64_t seed);
