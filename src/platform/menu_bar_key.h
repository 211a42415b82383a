#pragma once

class QMainWindow;

namespace quarvel {

// F10 opens the window's menu bar at its first menu, as on the desktops our
// users come from; Alt and a menu's underlined letter open that menu. A
// window without a menu bar is left as it is.
void openMenuBarOnF10(QMainWindow& window);

} // namespace quarvel
