#include "main_window/main_form_export.h"

#include "document/workspace.h"
#include "formats/text_file.h"
#include "main_window/forms.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "survey/las_writer.h"
#include "survey/segy_writer.h"

#include <QAction>
#include <QDate>
#include <QMenu>
#include <filesystem>
#include <optional>

namespace quarvel {
namespace {

QAction* exportAction(QWidget* owner, const char* name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    return action;
}

// Asks where to write the bytes and writes them whole; nothing when the user
// cancels.
void saveAs(Dialogs& dialogs, const FileDialogRequest& request, const std::string& bytes) {
    const std::optional<QString> name = dialogs.saveFile(request);
    if (name && !name->isEmpty()) {
        writeTextFile(std::filesystem::path(name->toStdString()), bytes);
    }
}

std::string segyOfSynthetic(const Workspace& workspace) {
    const SeriesData& synthetic = workspace.series().synthetic();
    SegyTraceExport trace =
        evenlySampledTrace(synthetic.time, synthetic.amplitude, "the synthetic on show");
    const ChirpTexts& chirp = workspace.chirp().texts();
    trace.description = {"VELOCITY LOG " + workspace.workDir().file("log.dat").string(),
                         "CHIRP " + chirp.start + " TO " + chirp.end + " HZ, INTERVAL " +
                             chirp.interval + " S"};
    return segyTraceBytes(trace);
}

std::string lasOfLog(const Workspace& workspace) {
    const WorkspaceState& state = workspace.state();
    if (state.NoLogLoaded || state.LogCount <= 0) {
        throw QuarvelError("There is no log to export. Load a log in the data editor first.");
    }
    // The log on show already carries any factor Apply gave it.
    LasExport las{{state.LogTable.begin(), state.LogTable.begin() + state.LogCount},
                  1,
                  "velocities as in the data editor",
                  "log.dat",
                  QDate::currentDate().toString(Qt::ISODate).toStdString()};
    return lasText(las);
}

} // namespace

void addExportMenuItems(QMenu* file, QAction* before, QWidget* owner, Services& services) {
    QAction* segy =
        exportAction(owner, "ExportSegy1", QStringLiteral("Export S&ynthetic as SEG-Y\u2026"));
    QAction* las = exportAction(owner, "ExportLas1", QStringLiteral("Export Lo&g as LAS\u2026"));
    file->insertActions(before, {segy, las});
    QObject::connect(segy, &QAction::triggered, owner, [&services] {
        guarded(services.errors, [&services] {
            const std::string bytes = segyOfSynthetic(services.workspace);
            saveAs(services.dialogs,
                   {QStringLiteral("Export Synthetic as SEG-Y"),
                    QStringLiteral("SEG-Y Files|*.SGY;*.SEGY"), QStringLiteral("sgy"),
                    QStringLiteral("SEG-Y export")},
                   bytes);
        });
    });
    QObject::connect(las, &QAction::triggered, owner, [&services] {
        guarded(services.errors, [&services] {
            const std::string text = lasOfLog(services.workspace);
            saveAs(services.dialogs,
                   {QStringLiteral("Export Log as LAS"), QStringLiteral("LAS Files|*.LAS"),
                    QStringLiteral("las"), QStringLiteral("LAS export")},
                   text);
        });
    });
}

} // namespace quarvel
