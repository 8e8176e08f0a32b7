#pragma once
// The two views through which the analysis writes what a window shows, in
// the order it writes it: a memo of lines and a grid of cells. The windows
// implement them over their widgets; MemoLines and GridCells keep the texts
// in plain containers for tests and for callers without a window.

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ohmara {

class MemoView {
 public:
  virtual ~MemoView() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& line) = 0;
};

class GridView {
 public:
  virtual ~GridView() = default;
  virtual void SetRowCount(int rows) = 0;
  virtual void SetColCount(int cols) = 0;
  virtual void SetColWidth(int col, int width) = 0;
  virtual void SetCell(int col, int row, const std::string& text) = 0;
};

class MemoLines : public MemoView {
 public:
  void Clear() override { lines.clear(); }
  void Add(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

class GridCells : public GridView {
 public:
  void SetRowCount(int r) override {
    rows = r;
    written = true;
  }
  void SetColCount(int c) override {
    cols = c;
    written = true;
  }
  void SetColWidth(int col, int width) override {
    widths[col] = width;
    written = true;
  }
  void SetCell(int col, int row, const std::string& text) override {
    cells[{col, row}] = text;
    written = true;
  }
  // The text of a cell, empty when it was never written.
  std::string Cell(int col, int row) const {
    auto it = cells.find({col, row});
    return it == cells.end() ? std::string() : it->second;
  }
  int rows = 0;
  int cols = 0;
  std::map<int, int> widths;
  std::map<std::pair<int, int>, std::string> cells;
  // Whether anything was ever set: a grid no run has reached keeps whatever
  // its window was built with.
  bool written = false;
};

}  // namespace ohmara
