#include "BudgetTable.h"

#include <cstdio>
#include <ostream>

namespace sw::bench {

namespace {

std::string number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Three significant figures or so, enough to compare runs.
std::string milliseconds(double ms) {
    return number(ms, ms >= 100 ? 0 : ms >= 10 ? 1 : ms >= 1 ? 2 : 3);
}

} // namespace

void BudgetTable::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median)
            continue;
        const std::string name = run.run_name.function_name;
        Figure figure;
        figure.median = median;
        if (run.error_occurred) {
            figure.error = run.error_message;
        } else {
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            bool wallClock = false;
            for (const BudgetLine& line : m_lines)
                wallClock = wallClock || (line.benchmark == name && line.wallClock);
            figure.ms = (wallClock ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime()) * toMs;
            auto floor = run.counters.find("floor");
            if (floor != run.counters.end())
                figure.floorMs = floor->second.value * 1e3;
        }
        auto known = m_figures.begin();
        while (known != m_figures.end() && known->first != name)
            ++known;
        if (known == m_figures.end())
            m_figures.emplace_back(name, figure);
        else if (median || !known->second.median)
            known->second = figure;
    }
}

const BudgetTable::Figure* BudgetTable::figureOf(const std::string& benchmark) const {
    for (const auto& [name, figure] : m_figures)
        if (name == benchmark)
            return &figure;
    return nullptr;
}

bool BudgetTable::overBudget() const {
    for (const BudgetLine& line : m_lines) {
        const Figure* figure = figureOf(line.benchmark);
        if (figure && figure->error.empty() && line.budgetMs > 0 && figure->ms > line.budgetMs)
            return true;
    }
    return false;
}

void BudgetTable::Finalize() {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    out << "\n| Measure | Figure (ms) | Floor | Floor (ms) | Ratio | Budget (ms) |\n"
        << "|---|--:|---|--:|--:|--:|\n";
    for (const BudgetLine& line : m_lines) {
        const Figure* figure = figureOf(line.benchmark);
        if (!figure)
            continue;
        out << "| " << line.measure << " | ";
        if (!figure->error.empty()) {
            out << "failed: " << figure->error << " | | | | |\n";
            continue;
        }
        out << milliseconds(figure->ms) << " | " << line.floor << " | " << milliseconds(figure->floorMs)
            << " | " << (figure->floorMs > 0 ? number(figure->ms / figure->floorMs, 1) : std::string("-"))
            << " | "
            << (line.budgetMs > 0
                    ? milliseconds(line.budgetMs) + (figure->ms > line.budgetMs ? " (over)" : "")
                    : std::string("-"))
            << " |\n";
    }
    out.flush();
}

} // namespace sw::bench
