#pragma once
// The router written the slow, literal way - plain lists scanned from the
// front - to check that the router's faster bookkeeping finds exactly the
// same routes and leaves the occupied cells in exactly the same order.

#include <algorithm>
#include <vector>

#include "editor/wire_router.h"

namespace ohmara::plain {

// The occupied-cell list with a scan that stops at the first cell lying
// right of and below the one sought.
struct CellList {
  std::vector<GridCell> cells;

  static size_t InsertionPoint(const std::vector<GridCell>& list, GridCell c) {
    size_t i = 0;
    while (i < list.size() && !(list[i].X >= c.X && list[i].Y >= c.Y)) ++i;
    return i;
  }
  bool Contains(GridCell c) const {
    for (const GridCell& e : cells) {
      if (e == c) return true;
      if (e.X > c.X && e.Y > c.Y) return false;
    }
    return false;
  }
  void Insert(GridCell c) {
    if (!Contains(c)) cells.insert(cells.begin() + InsertionPoint(cells, c), c);
  }
  void Remove(GridCell c) {
    const auto it = std::find(cells.begin(), cells.end(), c);
    if (it != cells.end()) cells.erase(it);
  }
};

class Router {
 public:
  explicit Router(CellList& occupied) : occupied_(occupied) {}

  RouteOutcome Route(GridCell s, GridCell t) {
    left_ = std::max(std::min(s.X, t.X) - 26, 0);
    top_ = std::max(std::min(s.Y, t.Y) - 26, 0);
    right_ = std::min(std::max(s.X, t.X) + 26, 85);
    bottom_ = std::min(std::max(s.Y, t.Y) + 26, 61);
    Add(s, 0, 1);
    GridCell u = s;
    int d = 0;
    for (int taken = 1;; ++taken) {
      for (const GridCell& step : kSteps) {
        const GridCell n{u.X + step.X, u.Y + step.Y};
        if (left_ < n.X && n.X < right_ && top_ < n.Y && n.Y < bottom_) Relax(n, step, d);
      }
      int best = -1;
      for (int i = 0; i < static_cast<int>(list_.size()); ++i)
        if (list_[i].closed == 0 && (best < 0 || list_[i].dist < list_[best].dist)) best = i;
      if (best < 0) return {};
      list_[best].closed = 1;
      u = list_[best].cell;
      d = list_[best].dist;
      if (taken > 36000) return {RouteResult::GuardTripped, {}};
      if (u == t) break;
    }
    return Trace(s, t);
  }

 private:
  struct Entry {
    GridCell cell;
    int dist;
    int closed;
  };
  static constexpr GridCell kSteps[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

  Entry* Find(GridCell c) {
    for (Entry& e : list_)
      if (e.cell == c) return &e;
    return nullptr;
  }
  int Dist(GridCell c) {
    const Entry* e = Find(c);
    return e ? e->dist : 1000;
  }
  void Add(GridCell c, int dist, int closed) {
    size_t i = 0;
    while (i < list_.size() && !(list_[i].cell.X >= c.X && list_[i].cell.Y >= c.Y)) ++i;
    list_.insert(list_.begin() + i, Entry{c, dist, closed});
  }
  void Relax(GridCell n, GridCell step, int d) {
    if (Entry* e = Find(n); e && e->closed == 1) return;
    if (!occupied_.Contains(n)) {
      if (Entry* e = Find(n)) e->dist = std::min(e->dist, d + 1);
      else Add(n, d + 1, 0);
      return;
    }
    const GridCell m{n.X + step.X, n.Y + step.Y};
    if (occupied_.Contains(m)) return;
    Add(n, d + 1, 1);
    if (Entry* e = Find(m)) e->dist = d + 2;
    else Add(m, d + 2, 0);
  }
  bool Free(GridCell c) const { return !occupied_.Contains(c); }
  // Moves one cell, or two when the first is taken; false when both are.
  bool Move(GridCell& at, int dx, int dy) {
    if (Free({at.X + dx, at.Y + dy})) at = {at.X + dx, at.Y + dy};
    else if (Free({at.X + 2 * dx, at.Y + 2 * dy})) at = {at.X + 2 * dx, at.Y + 2 * dy};
    else return false;
    return true;
  }
  void StepBack(GridCell& at, int& flag) {
    const int d = Dist(at);
    auto descends = [&](int dx, int dy) { return Dist({at.X + dx, at.Y + dy}) == d - 1; };
    if (flag == 0) {
      if (descends(-1, 0)) {
        Move(at, -1, 0);
        return;
      }
      if (descends(1, 0) && Move(at, 1, 0)) return;
    }
    if (flag == 1) {
      if (descends(0, -1) && Move(at, 0, -1)) return;
      if (descends(0, 1) && Move(at, 0, 1)) return;
    }
    flag = flag == 0 ? 1 : 0;
  }
  RouteOutcome Trace(GridCell s, GridCell t) {
    std::vector<GridCell> points{t};
    GridCell at = t;
    int flag = 2;
    for (const GridCell& step : kSteps) {
      if (Dist({t.X + step.X, t.Y + step.Y}) != Dist(t) - 1) continue;
      GridCell moved = t;
      if (!Move(moved, step.X, step.Y)) continue;
      at = moved;
      flag = step.Y != 0 ? 1 : 0;
      break;
    }
    const CellList before = occupied_;
    int i = 1;
    do {
      points.push_back(at);
      occupied_.Insert(at);
      StepBack(at, flag);
      ++i;
      if (i > 299) {
        occupied_ = before;
        return {RouteResult::GuardTripped, {}};
      }
    } while (!(at == s));
    points.push_back(s);
    return {RouteResult::Routed, points};
  }

  CellList& occupied_;
  std::vector<Entry> list_;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

}  // namespace ohmara::plain
