#pragma once
// The three methods that solve a tested circuit: loop currents, node
// potentials with every node but the zero one unknown, and node potentials
// over the real nodes only.

namespace ohmara {

enum class Method { Mesh, Nodal, Optimal };

}  // namespace ohmara
