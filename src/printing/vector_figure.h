#pragma once
// A picture made of lines, shapes and texts in a coordinate system of its
// own (y downwards): the phasor diagram and the editor's drawing are laid out
// as figures once, and the screen and the printed page both paint them, so
// the page gets paths and texts instead of a bitmap.

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ohmara {

struct FigurePoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const FigurePoint&) const = default;
};

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 255;
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};

// Connected lines through the points, `width` units wide (0: the thinnest
// line the device draws); `closed` joins the last point to the first.
struct FigureStroke {
  std::vector<FigurePoint> points;
  Colour colour = kBlack;
  double width = 0.0;
  bool roundCaps = false;
  bool closed = false;
};

// A filled polygon without an outline.
struct FigureFill {
  std::vector<FigurePoint> points;
  Colour colour = kBlack;
};

// An ellipse round `centre`: outlined `width` wide, or filled when `filled`.
struct FigureEllipse {
  FigurePoint centre;
  double radiusX = 0.0;
  double radiusY = 0.0;
  Colour colour = kBlack;
  double width = 0.0;
  bool filled = false;
};

// A text in the sans face, `size` units high (the font's pixel size), in the
// box whose top-left corner is `topLeft`: at its top-left corner, or centred
// in it. A `background` that is not transparent fills the box first.
struct FigureText {
  std::string text;
  FigurePoint topLeft;
  double boxWidth = 0.0;
  double boxHeight = 0.0;
  double size = 0.0;
  bool bold = false;
  bool centred = false;
  Colour colour = kBlack;
  Colour background{0, 0, 0, 0};
};

using FigureItem = std::variant<FigureStroke, FigureFill, FigureEllipse, FigureText>;

// The items are painted in order, each over the ones before it.
struct VectorFigure {
  double width = 0.0;
  double height = 0.0;
  std::vector<FigureItem> items;

  // Appends `item`. Built in place: g++ 12 takes a variant moved from a
  // temporary for one read before it was written.
  template <class Item>
  void Add(Item item) {
    items.emplace_back(std::in_place_type<Item>, std::move(item));
  }
};

// The room a text takes in a figure's units: measured by the screen's font
// for a window, by the printed fonts' tables for a page.
struct FigureTextSize {
  double width = 0.0;
  double height = 0.0;
};

}  // namespace ohmara
