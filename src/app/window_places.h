#pragma once

#include <QWidget>
#include <vector>

namespace quarvel {

// Where each window was when the program last ended, kept with QSettings by
// the window's name and put back inside the screen it lands on.
void restoreWindowPlaces(const std::vector<QWidget*>& windows);
void saveWindowPlaces(const std::vector<QWidget*>& windows);

} // namespace quarvel
