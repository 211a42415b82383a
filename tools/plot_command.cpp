#include "plot_command.h"

#include "document/session_document.h"
#include "document/workspace.h"
#include "formats/quarvel_error.h"
#include "platform/image_file.h"
#include "platform/work_dir.h"
#include "plot/final_plot_source.h"
#include "session/session.h"
#include "survey/log_import_questions.h"

#include <QObject>
#include <QTemporaryDir>

namespace quarvel::tools {

namespace {

// Nobody is there to answer a log import's question the session does not
// hold: the import stops, and the session is refused naming its log.
class NoOneToAsk : public LogImportQuestions {
public:
    std::optional<int> column(LogRole, const ColumnTable&, int) override { return std::nullopt; }
    std::optional<LogUnit> unit(LogRole, const TableColumn&,
                                const std::optional<LogUnit>&) override {
        return std::nullopt;
    }
    std::optional<CleaningRules> cleaning(const CleaningQuestion&) override { return std::nullopt; }
};

} // namespace

void writeSessionPlot(const PlotTexts& texts, std::ostream& out, std::ostream& err) {
    const Session session = readSessionFile(QString::fromStdString(texts.session));
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        throw QuarvelError("Cannot make a working folder for the session: " +
                           scratch.errorString().toStdString());
    }
    Workspace workspace(WorkDir(scratch.path().toStdString()));
    QObject::connect(&workspace, &Workspace::notice, [&err](const QString& text) {
        err << "quarvel-synth: " << text.toStdString() << "\n";
    });
    NoOneToAsk questions;
    const QStringList problems = restoreSession(workspace, session, questions);
    if (!problems.isEmpty()) {
        throw QuarvelError("The session \"" + texts.session + "\" cannot be opened whole:\n" +
                           problems.join(QStringLiteral(".\n")).toStdString() + ".");
    }
    const FinalPlot plot = composeFinalPlot(workspace.finalPlotSource(true));
    writeImageFile(plot.image, texts.out, "BMP");
    out << "Wrote " << texts.out << "\n";
}

} // namespace quarvel::tools
