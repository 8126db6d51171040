// The rank statistics of growing samples, brought up to date as each value comes: a simulation of
// many sessions checks every look against its critical value with them instead of sorting Walsh
// averages or ratios each time. For values without ties, as a simulation draws them.
#pragma once

#include <vector>

// Which side of no change a look's interval lies on.
enum class Crossing {
  None,
  Upper,  // the whole interval above no change
  Lower,  // the whole interval below it
};

// W+, the sum of the ranks of |d| of the positive differences d added so far. A new difference
// of rank r among them raises the rank of every larger one by one.
class SignedRankTally {
 public:
  void Add(double difference);
  int Count() const { return static_cast<int>(differences_.size()); }
  long long PositiveRankSum() const { return positiveRankSum_; }
  // W+ counts the Walsh averages above 0, so with C the critical value for Count() pairs, the
  // interval's lower end is above 0 when at most C averages are not, and its upper end below 0
  // when W+ <= C. None for C < 0.
  Crossing CrossingAt(int critical) const;

 private:
  std::vector<double> differences_;
  long long positiveRankSum_ = 0;
};

// U, the number of pairs (first, later) with later > first, of the values added to either side.
class RankSumTally {
 public:
  void AddFirst(double value);
  void AddLater(double value);
  // With C the critical value for the sides' sizes: the ratios later / first, of which U are
  // above 1, have their (C+1)-th smallest above 1 when at most C are not, and their (C+1)-th
  // largest below 1 when U <= C. None for C < 0.
  Crossing CrossingAt(int critical) const;

 private:
  std::vector<double> first_;
  std::vector<double> later_;
  long long pairsLaterAbove_ = 0;
};
