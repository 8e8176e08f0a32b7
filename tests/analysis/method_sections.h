#pragma once
// The frame every solving method puts around its results in out.txt and the
// window, spelled out here rather than taken from the program so that a
// change to it shows.

#include <string>
#include <vector>

namespace ohmara {

using Lines = std::vector<std::string>;

// The heading that opens a method's section of out.txt.
inline std::string SectionHeading(const std::string& method) {
  const std::string rule = "--------------------------------";
  return "\n\n" + rule + "\n" + method + "\n" + rule + "\n\n";
}

}  // namespace ohmara
