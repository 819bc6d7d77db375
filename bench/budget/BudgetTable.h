#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace sw::bench {

// One budgeted figure: the benchmark that measures it and how it is told in the table.
struct BudgetLine {
    std::string benchmark;  // the benchmark's name
    std::string measure;    // what it measures, for the table
    std::string floor;      // what its floor is
    double budgetMs = 0;    // 0: no budget, only the figure
    bool wallClock = false; // work spread over threads: the real time counts, not the CPU's
};

// The console output as usual, then a Markdown table with one row per budget line: the CPU time
// (or for work spread over threads the wall-clock time) per operation, its floor from the same run, their
// ratio and the budget. With repetitions the medians are shown.
class BudgetTable : public benchmark::ConsoleReporter {
public:
    explicit BudgetTable(std::vector<BudgetLine> lines) : m_lines(std::move(lines)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // True when a measured figure is over its budget.
    bool overBudget() const;

private:
    struct Figure {
        double ms = 0;
        double floorMs = 0;
        bool median = false;
        std::string error;
    };
    const Figure* figureOf(const std::string& benchmark) const;

    std::vector<BudgetLine> m_lines;
    std::vector<std::pair<std::string, Figure>> m_figures;
};

} // namespace sw::bench
