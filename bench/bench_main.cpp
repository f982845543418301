// Brisolt's benchmark: one table of ratios, each against a baseline of our own measured in the same run
// from medians of interleaved runs. Built for Windows and run by hand under Wine; not part of the tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "support/test_files.h"

namespace {

void PrintRow(const BenchRow& row) {
    if (!row.failure.empty()) {
        std::printf("%-48s  failed: %s\n", row.name.c_str(), row.failure.c_str());
        return;
    }
    char compared[32];
    char target[32] = "";
    if (row.difference) {
        std::snprintf(compared, sizeof compared, "%+.2f %s", row.Compared(), row.unit);
        if (row.target > 0) std::snprintf(target, sizeof target, "<= %+.2f", row.target);
    } else {
        std::snprintf(compared, sizeof compared, "%.2f x", row.Compared());
        if (row.target > 0) std::snprintf(target, sizeof target, "<= %.2f x", row.target);
    }
    const char* verdict = row.target > 0 ? (row.Missed() ? "MISSED" : "ok") : "";
    std::printf("%-48s %10.2f %-2s %10.2f %-2s %12s %12s  %s\n", row.name.c_str(), row.ours, row.unit, row.baseline,
                row.unit, compared, target, verdict);
}
}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    // Wine's own "type" moves about 1 MB/s, so one 50 MB run already takes a minute there; 0 leaves the
    // throughput rows out.
    const int bigRuns = argc > 2 ? std::atoi(argv[2]) : 1;
    if (runs < 1 || bigRuns < 0) {
        std::fprintf(stderr, "usage: bench [RUNS [RUNS-OF-50-MB]]\n");
        return 2;
    }
    std::vector<BenchRow> rows;
    AddStartupRows(runs, rows);
    AddBarRows(runs, rows);
    AddCorvaneRows(runs, bigRuns, rows);

    std::printf("%-48s %13s %13s %12s %12s\n", "row (medians of interleaved runs)", "ours", "baseline", "compared",
                "target");
    bool missed = false;
    for (const BenchRow& row : rows) {
        PrintRow(row);
        missed = missed || row.Missed();
    }
    RemoveTree(BenchFolder());
    return missed ? 1 : 0;
}
