#pragma once

class QAction;
class QMenu;
class QWidget;

namespace quarvel {

struct Services;

// The File menu's exports for other programs, put before `before`: "Export
// Synthetic as SEG-Y…" (objectName ExportSegy1) writes the synthetic on show
// as a one-trace SEG-Y file, "Export Log as LAS…" (ExportLas1) the loaded log
// as LAS 2.0. Each makes its file first, so nothing is asked when there is
// nothing to export.
void addExportMenuItems(QMenu* file, QAction* before, QWidget* owner, Services& services);

} // namespace quarvel
