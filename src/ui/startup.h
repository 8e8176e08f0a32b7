#pragma once
// What main() does before the event loop, shared with the start-up
// benchmark so that it measures the program's own start.

#include <functional>
#include <memory>

#include "ui/application.h"

class QWidget;

namespace ohmara {

class Prompts;

// Sets the C numeric locale, creates the application's windows over the
// Results folder beside the executable (or the user's, when the program
// cannot write there) and shows the main window. What the main
// window does not need (the translation of the standard dialogs) is loaded
// once the main window has been painted.
std::unique_ptr<OhmaraApplication> StartOhmara(Prompts& prompts);

// Calls `call` once, from the event loop, as soon as `window` has finished
// its first paint.
void CallAfterFirstPaint(QWidget& window, std::function<void()> call);

}  // namespace ohmara
