// Calendar conversions at 10^6 dates: TDateTime to a Hijri and a Hebrew date
// and back, beside the run-time's own Gregorian DecodeDateTime and
// EncodeDateTime of the same values in the same run. Each line prints the
// best of several runs and the ratio to the Gregorian round trip; the target
// is at most 3.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/core/locale/cxDateUtils.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int N = 1000000;
constexpr int Runs = 5;

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
  const auto nothing = [] {};
  const double gregorian = bench::BestOf(Runs, nothing, [&] {
    double sum = 0;
    for (const TDateTime d : dates) {
      int y, m, dd, h, n, s, ms;
      DecodeDateTime(d, y, m, dd, h, n, s, ms);
      sum += EncodeDateTime(y, m, dd, h, n, s, ms);
    }
    GSink = sum;
  });
  bench::TRatioReport report("table", "run-time Gregorian", 3.0, 34);
  int lost = 0;
  for (const auto& [name, id] : {std::pair{"Hijri FromDateTime + ToDateTime", cxCalendarHijri},
                                 std::pair{"Hebrew FromDateTime + ToDateTime", cxCalendarHebrew}}) {
    const TcxCustomCalendarTable* calendar = GetCalendarTable(id);
    int differing = 0;
    const double ms = bench::BestOf(Runs, [&] { differing = 0; }, [&] {
      double sum = 0;
      for (const TDateTime d : dates) {
        const TDateTime back = calendar->ToDateTime(calendar->FromDateTime(d));
        differing += back != d;
        sum += back;
      }
      GSink = sum;
    });
    report.Add(name, ms, gregorian);
    if (differing) std::printf("  %d dates did not come back\n", differing);
    lost += differing;
  }
  return report.Slower() + lost;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits()});
  const int failed = Bench();
  FinalizeUnits();
  return failed == 0 ? 0 : 1;
}
