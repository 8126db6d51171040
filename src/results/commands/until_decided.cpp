#include "results/commands/until_decided.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

#include "results/comparing/comparison_table.h"
#include "results/comparing/paired_looks.h"
#include "results/comparing/signed_rank.h"
#include "results/record/program_name.h"
#include "results/record/text_safety.h"
#include "results/running/budget.h"
#include "results/running/context_file.h"
#include "results/running/progress_line.h"

namespace {

// The first round at which a look at `oneTailLevel` can give an interval: 2^-n must be within it.
int FirstVerdictRound(double oneTailLevel) {
  const std::vector<int> critical = SignedRankCriticalValues(MaxPairs, oneTailLevel);
  for (std::size_t n = 0; n < critical.size(); ++n) {
    if (critical[n] >= 0) {
      return static_cast<int>(n);
    }
  }
  return MaxPairs + 1;
}

// Each later directory's looks at every figure against the first directory's, round by round, and
// which figures hold the session.
class RoundLooks {
 public:
  RoundLooks(std::size_t directories, double level, double thresholdPercent,
             const std::vector<std::string>& decide)
      : threshold_(thresholdPercent / 100.0), chosen_(!decide.empty()) {
    const ComparisonTable empty = PerRunFigures({});
    for (const Row& row : empty.rows) {
      titles_.push_back(row.title);
      const bool named = std::find(decide.begin(), decide.end(), row.key) != decide.end();
      interest_.push_back(chosen_ ? named : row.chartable);
    }
    looks_.assign(directories > 0 ? directories - 1 : 0,
                  std::vector<PairedLooks>(titles_.size(), PairedLooks(level)));
  }

  // The runs of a complete round, one per directory (nullptr where none was read).
  void AddRound(const std::vector<const RunRecord*>& round) {
    std::vector<RunRecord> runs;
    std::vector<bool> counts;
    for (const RunRecord* run : round) {
      runs.push_back(run != nullptr ? *run : RunRecord{});
      counts.push_back(run != nullptr && CountsInPairs(*run));
    }
    const ComparisonTable figures = PerRunFigures(runs);
    for (std::size_t r = 0; r < figures.rows.size(); ++r) {
      const std::vector<Cell>& cells = figures.rows[r].cells;
      for (std::size_t d = 0; d < cells.size(); ++d) {
        // A rate timed too briefly to trust holds nothing, unless named.
        if (!chosen_ && round[d] != nullptr && cells[d].shortSpan) {
          interest_[r] = false;
        }
      }
      for (std::size_t d = 1; d < cells.size(); ++d) {
        looks_[d - 1][r].AddRound(counts[0] ? cells[0].value : Missing,
                                  counts[d] ? cells[d].value : Missing);
      }
    }
  }

  int OfInterest() const {
    return static_cast<int>(std::count(interest_.begin(), interest_.end(), true));
  }
  bool Decided(std::size_t row) const {
    for (const auto& directory : looks_) {
      if (SequentialVerdict(directory[row].State(), threshold_) == Verdict::Undecided) {
        return false;
      }
    }
    return true;
  }
  int DecidedCount() const {
    int count = 0;
    for (std::size_t r = 0; r < interest_.size(); ++r) {
      count += interest_[r] && Decided(r) ? 1 : 0;
    }
    return count;
  }
  bool AllDecided() const { return OfInterest() > 0 && DecidedCount() == OfInterest(); }
  // Every undecided figure of interest out of reach in every directory where it is undecided.
  bool RestHopeless(int rounds, int cap) const {
    if (OfInterest() == 0) {
      return false;
    }
    for (std::size_t r = 0; r < interest_.size(); ++r) {
      for (const auto& directory : looks_) {
        const SequentialInterval& state = directory[r].State();
        if (interest_[r] && SequentialVerdict(state, threshold_) == Verdict::Undecided &&
            !Hopeless(state, rounds, cap, threshold_)) {
          return false;
        }
      }
    }
    return true;
  }
  // "Lower, all workers; High reading, single thread": the figures of interest still undecided.
  std::string Undecided() const {
    std::string names;
    for (std::size_t r = 0; r < interest_.size(); ++r) {
      if (interest_[r] && !Decided(r)) {
        names += (names.empty() ? "" : "; ") + titles_[r];
      }
    }
    return names;
  }

 private:
  double threshold_;
  bool chosen_;  // the figures of interest were named
  std::vector<std::string> titles_;
  std::vector<bool> interest_;
  std::vector<std::vector<PairedLooks>> looks_;  // [later directory][row]
};

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "after 12 rounds (24 runs, 4 min 38 s)"
std::string AfterRounds(int rounds, int runs, double seconds) {
  return "after " + Plural(rounds, "round", "rounds") + " (" + Plural(runs, "run", "runs") + ", " +
         Duration(seconds) + ")";
}

}  // namespace

std::vector<std::string> FigureKeys() {
  std::vector<std::string> keys;
  for (const Row& row : PerRunFigures({}).rows) {
    keys.push_back(row.key);
  }
  return keys;
}

std::string UnknownFigureKeys(const std::vector<std::string>& keys) {
  const std::vector<std::string> known = FigureKeys();
  std::string unknown;
  for (const std::string& key : keys) {
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      unknown += (unknown.empty() ? "" : ", ") + EscapeControls(key);
    }
  }
  if (unknown.empty()) {
    return "";
  }
  std::string valid;
  for (const std::string& key : known) {
    valid += (valid.empty() ? "" : ", ") + key;
  }
  return "no figure " + unknown + "; the figures are " + valid;
}

std::string NewSessionName(long long start) {
  std::random_device device;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(device()));
  return IsoTime(start) + "-" + suffix;
}

SessionRuns RunUntilDecided(Benchmark& benchmark, std::vector<Directory>& directories,
                            const RunCommandOptions& options, const RunSeams& seams,
                            std::ostream& err) {
  Clock& clock = *seams.clock;
  const int cap = options.maxRounds;
  const LookLevels levels = LevelsForCap(cap);
  benchmark.MarkSession(NewSessionName(clock.CalendarSeconds()),
                        {{"rule", SequentialRuleName}, {"cap", cap}, {"tail", levels.paired}});
  RoundLooks looks(directories.size(), levels.paired, options.thresholdPercent, options.decide);
  const int perRound = static_cast<int>(directories.size());
  const double began = clock.Seconds();
  std::vector<double> roundSeconds;
  SessionRuns session;
  int runsStarted = 0;
  int rounds = 0;
  const std::string budget = BudgetText(options.budgetSeconds);
  const int firstVerdict = FirstVerdictRound(levels.paired);
  for (int round = 1; session.stop.word.empty(); ++round) {
    const double roundBegan = clock.Seconds();
    const double typicalRound = Mean(roundSeconds);
    if (round > 1 && options.budgetSeconds > 0 &&
        roundBegan - began + typicalRound > options.budgetSeconds) {
      session.stop = {"budget", "stopped at the budget of " + budget + " " +
                                    AfterRounds(rounds, runsStarted, roundBegan - began) +
                                    "; undecided: " + looks.Undecided()};
      break;
    }
    const std::string head = "round " + std::to_string(round) + " of at most " +
                             std::to_string(cap) + ", " + std::to_string(looks.DecidedCount()) +
                             " of " + std::to_string(looks.OfInterest()) + " decided";
    std::vector<const RunRecord*> complete(directories.size(), nullptr);
    std::vector<std::size_t> read(directories.size(), SIZE_MAX);
    for (std::size_t d = 0; d < directories.size(); ++d) {
      if (session.interrupted || seams.interrupts() != 0) {
        session.interrupted = true;
        break;
      }
      // What is left: this round's other runs, the rounds to the cap, within the budget.
      double later = typicalRound < 0 ? -1 : typicalRound * (cap - round);
      for (std::size_t e = d + 1; e < directories.size() && later >= 0; ++e) {
        const double typical = Mean(directories[e].durations);
        later = typical < 0 ? -1 : later + typical;
      }
      if (later >= 0 && options.budgetSeconds > 0) {
        const double typical = std::max(Mean(directories[d].durations), 0.0);
        later = std::max(
            0.0, std::min(later, options.budgetSeconds - (clock.Seconds() - began) - typical));
      }
      ++runsStarted;
      RunOutcome outcome =
          benchmark.RunOnce(directories[d], runsStarted, cap * perRound, later, round, head);
      session.interrupted = session.interrupted || outcome.interrupted;
      session.allOk = session.allOk && outcome.ok;
      if (outcome.record && !outcome.interrupted) {
        session.records.push_back(std::move(*outcome.record));
        session.labels.push_back(options.labels.empty()
                                     ? EscapeControls(DefaultLabel(session.records.back()))
                                     : directories[d].label);
        read[d] = session.records.size() - 1;
      }
    }
    session.interrupted = session.interrupted || seams.interrupts() != 0;
    const double now = clock.Seconds();
    if (session.interrupted) {
      // A round cut short is no look.
      session.stop = {"interrupted",
                      "interrupted " + AfterRounds(rounds, runsStarted, now - began)};
      break;
    }
    rounds = round;
    roundSeconds.push_back(now - roundBegan);
    for (std::size_t d = 0; d < directories.size(); ++d) {
      complete[d] = read[d] == SIZE_MAX ? nullptr : &session.records[read[d]];
    }
    looks.AddRound(complete);
    if (round == 1 && options.budgetSeconds > 0 &&
        options.budgetSeconds < firstVerdict * roundSeconds.front()) {
      err << Program << "the budget of " << budget << " holds about "
          << static_cast<int>(options.budgetSeconds / roundSeconds.front())
          << " rounds at the first round's pace; no verdict is possible before round "
          << firstVerdict << "\n";
    }
    if (looks.AllDecided()) {
      session.stop = {"decided", "stopped: every figure of interest decided " +
                                     AfterRounds(rounds, runsStarted, now - began)};
    } else if (round >= HopelessFromRound && round < cap && looks.RestHopeless(round, cap)) {
      // At the cap every undecided figure is out of reach by definition: that stop is the cap's.
      session.stop = {"hopeless", "stopped " + AfterRounds(rounds, runsStarted, now - began) +
                                      ": the rest cannot be decided within " +
                                      Plural(cap, "round", "rounds") + ": " + looks.Undecided()};
    } else if (round >= cap) {
      session.stop = {"max-runs", "stopped at --max-runs " + std::to_string(cap) + " " +
                                      AfterRounds(rounds, runsStarted, now - began) +
                                      "; undecided: " + looks.Undecided()};
    }
  }
  return session;
}
