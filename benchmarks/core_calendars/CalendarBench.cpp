// Calendar conversions at 10^6 dates: TDateTime to a Hijri and a Hebrew date
// and back, beside the run-time's own Gregorian DecodeDateTime and
// EncodeDateTime of the same values in the same run. Each line prints the
// best of several runs and the ratio to the Gregorian round trip; the target
// is at most 3.
#include "library/core/CoreUnits.h"
#include "library/core/cxDateUtils.h"
#include "platform/ui/UiUnits.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int N = 1000000;
constexpr int Runs = 5;
constexpr double Target = 3.0;

double Best(const std::function<void()>& AWork) {
  double best = 1e300;
  for (int i = 0; i < Runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    AWork();
    const auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
  }
  return best;
}

volatile double GSink;

// Dates with a time of day over the Hebrew table's years (1583 to 2239),
// which the Hijri table covers too.
std::vector<TDateTime> Dates() {
  std::mt19937 random(20240601);
  const int first = static_cast<int>(EncodeDate(1583, 1, 1)), last = static_cast<int>(EncodeDate(2239, 9, 29));
  std::uniform_int_distribution<int> day(first, last);
  std::uniform_int_distribution<int> time(0, MSecsPerDay - 1);
  std::vector<TDateTime> dates(N);
  for (TDateTime& d : dates) d = TimeStampToDateTime(TTimeStamp{time(random), day(random) + DateDelta});
  return dates;
}

int Bench() {
  const std::vector<TDateTime> dates = Dates();
  const double gregorian = Best([&] {
    double sum = 0;
    for (const TDateTime d : dates) {
      int y, m, dd, h, n, s, ms;
      DecodeDateTime(d, y, m, dd, h, n, s, ms);
      sum += EncodeDateTime(y, m, dd, h, n, s, ms);
    }
    GSink = sum;
  });
  std::printf("%-36s %9.2f ms\n", "run-time Gregorian decode + encode", gregorian);
  int slower = 0;
  const auto table = [&](const char* AName, int ACalendarID) {
    const TcxCustomCalendarTable* calendar = GetCalendarTable(ACalendarID);
    bool exact = true;
    const double ms = Best([&] {
      double sum = 0;
      for (const TDateTime d : dates) {
        const TDateTime back = calendar->ToDateTime(calendar->FromDateTime(d));
        exact = exact && back == d;
        sum += back;
      }
      GSink = sum;
    });
    const double ratio = ms / gregorian;
    if (ratio > Target || !exact) ++slower;
    std::printf("%-36s %9.2f ms   ratio %5.2f %s%s\n", AName, ms, ratio, ratio > Target ? "(over 3)" : "",
                exact ? "" : " (a date did not come back)");
  };
  table("Hijri FromDateTime + ToDateTime", cxCalendarHijri);
  table("Hebrew FromDateTime + ToDateTime", cxCalendarHebrew);
  return slower;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits()});
  const int slower = Bench();
  FinalizeUnits();
  return slower == 0 ? 0 : 1;
}
