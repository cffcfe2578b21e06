#pragma once

namespace wirevane {

// Text (point numbers) and SVG drawings need fonts, and fonts need a GUI application; a plain
// picture needs neither and is made faster and quieter without one. So the tool starts the
// offscreen GUI application only when a command asks for it.
void needGuiApplication();
// Ends it, if it was started; main calls this before it returns.
void endGuiApplication();

} // namespace wirevane
