// What the benchmark's rows share: the clock, medians, the table's rows and the full settings file.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One line of the table: a value of ours against a baseline of ours measured in the same run, both
// medians of interleaved runs.
struct BenchRow {
    explicit BenchRow(std::string rowName) : name(std::move(rowName)) {}

    std::string name;
    double ours = 0;
    double baseline = 0;
    const char* unit = "ms";
    // The comparison: ours / baseline, or ours - baseline when `difference` is set.
    bool difference = false;
    // The most the comparison may be; 0 when the row only reports.
    double target = 0;
    // Why the row could not be measured; empty when it was.
    std::string failure;

    double Compared() const { return difference ? ours - baseline : ours / baseline; }
    bool Missed() const { return !failure.empty() || (target > 0 && Compared() > target); }
};

// Seconds on the performance counter.
double Now();
// The middle value (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);

// The benchmark's temporary folder, with its trailing "\", made on first use.
const std::string& BenchFolder();
// An existing main file in the benchmark's folder that the full settings file lists fourth of its
// recent files.
std::string BenchMainFile();
// A settings file with all 50 buttons, the grid, the bar's place and full recent lists with the main
// file among them.
std::string FullSettings();

// The rows of each part; every function appends its own rows.
void AddStartupRows(int runs, std::vector<BenchRow>& rows);
void AddBarRows(int rounds, std::vector<BenchRow>& rows);
void AddCorvaneRows(int runs, int bigRuns, std::vector<BenchRow>& rows);
