#pragma once
// Repeated measurements and the table they are reported in.
#include <string>
#include <vector>

struct Measurement {
  std::string name;
  std::string unit;
  std::vector<double> samples;
  double baseline = 0;     // the baseline's median, for the ratio; 0: none
  double guiBaseline = 0;  // the GUI baseline's median, for a second ratio; 0: none
  double tenFoldGrowth = 0;  // how the extra cost grew with ten times the input; 0: not measured

  double median() const;
  double lowest() const;
  double highest() const;
};

// A Markdown table: name, median, spread, runs, ratio to the baseline, growth.
std::string markdownTable(const std::vector<Measurement>& rows);
