// The solver's trace files of a grid of mid size (72 nodes, 127 branches, 56
// loops: a few megabytes each), compared by size and SHA-256 with the files
// the program wrote when the trace was still built whole in memory and
// converted in one piece. Streaming them must not change a byte.

#include <gtest/gtest.h>

#include <string>

#include "analysis/circuit_check.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "support/grid_circuit.h"
#include "support/results_fixture.h"
#include "support/sha256.h"

namespace ohmara {
namespace {

constexpr int kRows = 8, kColumns = 9;
constexpr int kMiddleNode = GridNode(kColumns, kRows / 2, kColumns / 2);

CircuitState TestedGrid(ResultsDirectory& results) {
  CircuitState state;
  MeshTexts window;
  MeshViews views = window.Views();
  EXPECT_TRUE(RunCircuitCheck(state, GridTable(kRows, kColumns), {"50", 0}, results, views).passed);
  return state;
}

bool RunMesh(CircuitState& state, ResultsDirectory& results) {
  MeshTexts window;
  MeshViews views = window.Views();
  return MeshCurrentMethod(state, results, views);
}

template <NodeMethod method>
bool RunNodal(CircuitState& state, ResultsDirectory& results) {
  NodeTexts window;
  NodeViews views = window.Views();
  return method(state, kMiddleNode, results, views, nullptr);
}

struct TraceCase {
  const char* method;
  bool (*run)(CircuitState&, ResultsDirectory&);
  const char* file;
  size_t bytes;
  const char* sha256;
};

const TraceCase kCases[] = {
    {"mesh currents", RunMesh, "Currents.txt", 2555314,
     "ec4839877b5dfbc370419e787d0755924e4f1eafe4606d5d3272431c9da9f0ff"},
    {"node potentials", RunNodal<NodePotentialMethod>, "Potential.txt", 5244548,
     "34fae004a3ba983734f7e5c95c9aefc70111e3a69acbe644b0a39bfe597c7376"},
    {"optimal node potentials", RunNodal<OptimalNodePotentialMethod>, "Potential.txt", 4355793,
     "b2794b8b5212e347c965fd440a05e3add3746de68ca0aaabb33ef9d9f8d8d77e"},
};

TEST(StreamedTrace, GridFilesAreByteForByteThoseOfTheWholeTextWriter) {
  for (const TraceCase& c : kCases) {
    SCOPED_TRACE(c.method);
    ScratchResults files;
    CircuitState state = TestedGrid(files.Results());
    ASSERT_TRUE(c.run(state, files.Results()));
    const std::string bytes = files.Bytes(c.file);
    EXPECT_EQ(bytes.size(), c.bytes);
    EXPECT_EQ(Sha256Hex(bytes), c.sha256);
    EXPECT_TRUE(files.Results().TakeFailedFiles().empty());
  }
}

// A device that refuses every write once opened: the trace fails in the
// middle, the method still ends, and the file is named once among those
// not written.
TEST(StreamedTrace, WriteFailureInTheMiddleIsReportedOnce) {
  for (const TraceCase& c : kCases) {
    SCOPED_TRACE(c.method);
    ScratchResults files;
    CircuitState state = TestedGrid(files.Results());
    std::filesystem::create_symlink("/dev/full", files.Path() / c.file);
    ASSERT_TRUE(c.run(state, files.Results()));
    EXPECT_EQ(files.Results().TakeFailedFiles(), std::vector<std::string>{c.file});
  }
}

}  // namespace
}  // namespace ohmara
