#pragma once
// How a window runs a command: the main window catches what escapes it and
// shows an error box, so a dialog's command fails the same way as one of the
// main window's and the program goes on.

#include <functional>

namespace ohmara {

using Command = std::function<void()>;
using CommandGuard = std::function<void(const Command&)>;

}  // namespace ohmara
