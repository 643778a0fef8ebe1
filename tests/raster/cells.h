// Pixel sets for the raster tests, written as text masks.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "raster/raster_core.h"

using Cells = std::set<std::pair<int, int>>;

// Cells of a text mask centred on (0, 0): row i is y = i - rows/2, column j is x = j - cols/2.
// Any character but '.' is a cell.
inline Cells mask(const std::vector<std::string>& rows) {
  Cells c;
  int h = int(rows.size()), w = int(rows[0].size());
  for (int i = 0; i < h; i++)
    for (int j = 0; j < w; j++)
      if (rows[i][j] != '.') c.insert({j - w / 2, i - h / 2});
  return c;
}

inline Cells cellsOf(const std::vector<RasterPoint>& pts) {
  Cells c;
  for (auto p : pts) c.insert({p.x, p.y});
  return c;
}

inline Cells cellsOf(const std::vector<RasterSpan>& spans) {
  Cells c;
  for (auto s : spans)
    for (int x = std::min(s.x1, s.x2); x <= std::max(s.x1, s.x2); x++) c.insert({x, s.y});
  return c;
}

// Compares two pixel sets; on failure the number of cells in only one of them and the
// first such cell.
inline testing::AssertionResult SameCells(const Cells& got, const Cells& want) {
  std::vector<std::pair<int, int>> extra, missing;
  std::set_difference(got.begin(), got.end(), want.begin(), want.end(), std::back_inserter(extra));
  std::set_difference(want.begin(), want.end(), got.begin(), got.end(),
                      std::back_inserter(missing));
  if (extra.empty() && missing.empty()) return testing::AssertionSuccess();
  testing::AssertionResult r = testing::AssertionFailure();
  r << extra.size() << " cells too many, " << missing.size() << " missing";
  if (!extra.empty()) r << "; first extra (" << extra[0].first << ", " << extra[0].second << ")";
  if (!missing.empty())
    r << "; first missing (" << missing[0].first << ", " << missing[0].second << ")";
  return r;
}
