// The Data Editor's listing pages: the synthetic listing ("ampl.dat") and the
// trace listing ("trace.txt"), loaded, saved and drawn from, the SEG-Y line a
// trace is chosen from, and the file commands that act on the page shown.

#include "document/workspace.h"
#include "editor/listing_file.h"
#include "editor/segy_trace_form.h"
#include "editor/tables_form.h"
#include "formats/text_file.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "probe/depth_twt.h"
#include "survey/segy_reader.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace quarvel {
namespace {

// Each page's files have a folder of their own in the file questions.
QString pageQuestion(TTables_Form::Page page) {
    switch (page) {
    case TTables_Form::SyntheticPage:
        return QStringLiteral("synthetic listing");
    case TTables_Form::TracePage:
        return QStringLiteral("trace");
    case TTables_Form::LogsPage:
        break;
    }
    return QStringLiteral("log");
}

// Listings hold the bytes of their files one for one (Latin-1), so a listing
// saved unchanged writes back exactly what was loaded.
QString listingTextFrom(std::string_view crlfText) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(crlfText.size()));
    for (const char c : crlfText) {
        if (c != '\r') {
            bytes.append(c);
        }
    }
    return QString::fromLatin1(bytes);
}

std::string listingTextOf(const QPlainTextEdit* memo) {
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    const QByteArray bytes = text.toLatin1();
    return normaliseLineEnds(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace

std::string_view TTables_Form::listingWorkFile(Page page) const {
    return page == SyntheticPage ? "ampl.dat" : "trace.txt";
}

QPlainTextEdit* TTables_Form::listing(Page page) const {
    return page == SyntheticPage ? Syntmemo : Tracememo;
}

void TTables_Form::loadListing(QPlainTextEdit* memo, const std::filesystem::path& fileName) {
    memo->setPlainText(listingTextFrom(readListingFile(fileName)));
}

void TTables_Form::saveListing(const QPlainTextEdit* memo, const std::filesystem::path& fileName) {
    const std::string text = listingTextOf(memo);
    // A trace the panel cannot draw must not take the place of the last good one.
    if (memo == Tracememo) {
        checkTraceListing(text);
    }
    writeTextFile(fileName, text);
}

void TTables_Form::reloadSyntheticListing() {
    loadListing(Syntmemo, workFile("ampl.dat"));
}

// The log page's commands are the log model's, which tells the panels itself.
void TTables_Form::redrawPage(Page page) {
    if (page == SyntheticPage) {
        workspace_.series().readSynthetic();
    } else {
        workspace_.series().readTrace();
    }
}

void TTables_Form::Load1Click() {
    guarded(services_.errors, [this] {
        const Page page = currentPage();
        const auto name = services_.dialogs.openFile({"Open", "", "", pageQuestion(page)});
        if (!name || name->isEmpty()) {
            return;
        }
        if (page == LogsPage) {
            loadLogPage(chosenPath(*name));
            return;
        }
        const std::filesystem::path path = chosenPath(*name);
        if (page == TracePage) {
            if (isSegyFile(path)) {
                loadSegyLine(path);
            } else {
                workspace_.series().loadTraceListing(path);
            }
            return;
        }
        loadListing(listing(page), path);
        saveListing(listing(page), workFile(listingWorkFile(page)));
        redrawPage(page);
        if (page == SyntheticPage) {
            workspace_.selectTrace();
        }
    });
}

// The trace is chosen in the SEG-Y window; its Load finishes the command.
void TTables_Form::loadSegyLine(const std::filesystem::path& path) {
    SegyForm->setSynthetic(workspace_.tie().tiedSynthetic(),
                           workspace_.series().traceSource().segyZeroMs);
    SegyForm->setCorePosition(workspace_.corePosition());
    SegyForm->offer(path, workspace_.traceLengthSpans(), [this, path](const SegyLoad& load) {
        workspace_.series().takeTrace(load.listing,
                                      {path, SegyForm->fields(), load.seaFloorMs.value_or(0)});
        workspace_.setCorePosition(positionOf(SegyForm->fields()));
        services_.dialogs.showMessage(QString::fromStdString(load.notice));
    });
}

void TTables_Form::showTraceListing() {
    Tracememo->setPlainText(listingTextFrom(workspace_.series().traceListing()));
}

void TTables_Form::Save1Click() {
    guarded(services_.errors, [this] {
        const Page page = currentPage();
        if (page == LogsPage) {
            commitPendingEdit();
            workspace_.log().save();
            return;
        }
        saveListing(listing(page), workFile(listingWorkFile(page)));
        redrawPage(page);
    });
}

void TTables_Form::SaveAs1Click() {
    guarded(services_.errors, [this] {
        const Page page = currentPage();
        const auto name = services_.dialogs.saveFile({"Save As", "", "", pageQuestion(page)});
        if (!name || name->isEmpty()) {
            return;
        }
        if (page == LogsPage) {
            commitPendingEdit();
            workspace_.log().saveAs(chosenPath(*name));
            return;
        }
        saveListing(listing(page), chosenPath(*name));
        saveListing(listing(page), workFile(listingWorkFile(page)));
        redrawPage(page);
    });
}

void TTables_Form::SyntheticRefreshButtonClick() {
    guarded(services_.errors, [this] {
        // The panel is drawn from ampl.dat: edits show there only after Save.
        saveListing(Syntmemo, workFile("ampl.txt"));
        workspace_.series().readSynthetic();
    });
}

void TTables_Form::TraceRefreshButtonClick() {
    guarded(services_.errors, [this] {
        saveListing(Tracememo, workFile("trace.txt"));
        workspace_.series().readTrace();
    });
}

} // namespace quarvel
