#include "measurement.h"

#include <algorithm>
#include <cstdio>

double Measurement::median() const {
  if (samples.empty()) return 0;
  std::vector<double> sorted = samples;
  std::sort(sorted.begin(), sorted.end());
  const size_t middle = sorted.size() / 2;
  return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Measurement::lowest() const { return samples.empty() ? 0 : *std::min_element(samples.begin(), samples.end()); }
double Measurement::highest() const { return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end()); }

namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, value >= 100 ? "%.0f" : value >= 10 ? "%.1f" : "%.2f", value);
  return text;
}

}  // namespace

std::string markdownTable(const std::vector<Measurement>& rows) {
  std::string table =
      "| Measure | Median | Spread (min-max) | Runs | Ratio to baseline | Ratio to GUI baseline | Extra cost at ten-fold "
      "input |\n"
      "|---|---:|---:|---:|---:|---:|---:|\n";
  for (const Measurement& row : rows) {
    const bool failed = row.samples.empty();
    table += "| " + row.name + " | " + (failed ? "failed" : number(row.median()) + " " + row.unit) + " | " +
             (failed ? "" : number(row.lowest()) + "-" + number(row.highest())) + " | " +
             std::to_string(row.samples.size()) + " | " +
             (row.baseline > 0 && !failed ? number(row.median() / row.baseline) + "x" : "") + " | " +
             (row.guiBaseline > 0 && !failed ? number(row.median() / row.guiBaseline) + "x" : "") + " | " +
             (row.tenFoldGrowth > 0 ? number(row.tenFoldGrowth) + "x" : "") + " |\n";
  }
  return table;
}
