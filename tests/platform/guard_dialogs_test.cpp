#include "formats/text_file.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/guarded_application.h"
#include "platform/work_dir.h"
#include "support/recording_error_reporter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_work_dir.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace quarvel {
namespace {

using testing::RecordingErrorReporter;
using testing::ScriptedDialogs;

TEST(Guarded, HandsEachKindOfErrorToTheReporter) {
    RecordingErrorReporter reporter;
    reporter.expectError(QStringLiteral("Floating point division by zero"));
    reporter.expectError(QStringLiteral("disk on fire"));
    reporter.expectError(QStringLiteral("Out of memory"));
    bool ranToTheEnd = false;
    guarded(reporter, [] { throw QuarvelError("Floating point division by zero"); });
    guarded(reporter, [] { throw std::runtime_error("disk on fire"); });
    guarded(reporter, [] { throw std::bad_alloc(); });
    guarded(reporter, [&] { ranToTheEnd = true; });
    EXPECT_TRUE(ranToTheEnd);
    EXPECT_EQ(reporter.messages().size(), 3u);
}

// With the working directory given, a command holds it to its end (one
// inside it holds nothing more), is refused while another process's command
// holds it, and hears once of a working file written outside since the last.
TEST(Guarded, ACommandHoldsTheWorkingDirectory) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quarvel-guarded-lock";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const WorkDir dir(folder);
    CommandWorkDir commands(dir);
    std::vector<std::string_view> told;
    commands.tellChangesOutside([&told](const auto& names) { told = names; });
    RecordingErrorReporter reporter;
    int ran = 0;
    guarded(reporter, [&] {
        guarded(reporter, [&] { ++ran; });
        EXPECT_THROW(WorkDirLock(dir, WhenBusy::Refuse), QuarvelError);
        writeTextFile(folder / "log.dat", "0.5 1500 1.6\r\n");
    });
    {
        const WorkDirLock other(dir, WhenBusy::Refuse);
        reporter.expectError(QString::fromStdString(
            "Another Quarvel command is working in \"" + folder.string() +
            "\"; this one was not run. Try again when that one has finished."));
        guarded(reporter, [&] { ++ran; });
        writeTextFile(folder / "log.dat", "changed\r\n");
    }
    EXPECT_TRUE(told.empty());
    guarded(reporter, [&] { ++ran; });
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(told, std::vector<std::string_view>{"log.dat"});
}

TEST(Guarded, DialogReporterShowsTheMessage) {
    ScriptedDialogs dialogs;
    dialogs.expectError(QStringLiteral("'abc' is not a valid integer value"));
    DialogErrorReporter reporter(dialogs);
    guarded(reporter, [] { throw QuarvelError("'abc' is not a valid integer value"); });
    EXPECT_TRUE(dialogs.allAnswered());
}

class Throwing : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            throw QuarvelError("escaped");
        }
        return QObject::event(e);
    }
};

TEST(GuardedApplication, CatchesWhatEscapesAHandlerAndKeepsNumbersInTheCLocale) {
    auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    ErrorReporter* previous = app->errorReporter();
    RecordingErrorReporter reporter;
    reporter.expectError(QStringLiteral("escaped"));
    app->setErrorReporter(&reporter);
    Throwing target;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&target, &event);
    app->setErrorReporter(previous);
    EXPECT_EQ(reporter.messages().size(), 1u);
}

TEST(ScriptedDialogs, AnswersInOrder) {
    ScriptedDialogs dialogs;
    dialogs.expectOpenFile(QStringLiteral("/tmp/core.bmp"));
    dialogs.expectSaveFile(std::nullopt);
    dialogs.expectFont(QFont(QStringLiteral("DejaVu Serif"), 12));
    dialogs.expectItem(1);
    const FileDialogRequest request{QStringLiteral("Open"), QStringLiteral("Bitmap Files|*.BMP"),
                                    QStringLiteral("bmp")};
    EXPECT_EQ(dialogs.openFile(request), QStringLiteral("/tmp/core.bmp"));
    EXPECT_EQ(dialogs.saveFile(request), std::nullopt);
    EXPECT_EQ(dialogs.chooseFont(QFont())->pointSize(), 12);
    EXPECT_EQ(dialogs.chooseItem("t", "l", {"a", "b"}, 0), 1);
    ASSERT_EQ(dialogs.fileQuestions().size(), 2u);
    EXPECT_EQ(dialogs.fileQuestions()[0].filter, QStringLiteral("Bitmap Files|*.BMP"));
}

TEST(ScriptedDialogs, FailsTheTestOnSurprises) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs d;
            d.openFile({});
        },
        "Unexpected open file question");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs d;
            d.expectMessage(QStringLiteral("one"));
            d.showMessage(QStringLiteral("two"));
        },
        "Expected the message \"one\", got \"two\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs d;
            d.expectSaveFile(QStringLiteral("x.bmp"));
            d.openFile({});
        },
        "Expected a save file question, got a open file question");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs d;
            d.expectFont(std::nullopt);
        },
        "never asked");
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingErrorReporter r;
            r.report(QStringLiteral("boom"));
        },
        "Unexpected error reported: boom");
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingErrorReporter r;
            r.expectError(QStringLiteral("boom"));
        },
        "was never reported");
}

TEST(QtDialogs, FilterPairsAndDefaultExtensions) {
    const struct {
        const char* pairs;
        const char* qt;
    } filters[] = {
        {"Bitmap Files|*.BMP", "Bitmap Files (*.BMP *.bmp)"},
        {"Signal|*.SIG|All files|*.*", "Signal (*.SIG *.sig);;All files (*.*)"},
        {"Logs|*.dat;*.TXT", "Logs (*.dat *.DAT *.TXT *.txt)"},
        {"", ""},
    };
    for (const auto& f : filters) {
        EXPECT_EQ(qtFilterFromPairs(QString::fromUtf8(f.pairs)), QString::fromUtf8(f.qt));
    }
    EXPECT_EQ(withDefaultExtension("/a.b/plot", "bmp"), QStringLiteral("/a.b/plot.bmp"));
    EXPECT_EQ(withDefaultExtension("/a/plot.BMP", "bmp"), QStringLiteral("/a/plot.BMP"));
    EXPECT_EQ(withDefaultExtension("/a/plot.png", "bmp"), QStringLiteral("/a/plot.png"));
    EXPECT_EQ(withDefaultExtension("/a/plot", ""), QStringLiteral("/a/plot"));
}

TEST(TempWorkDir, IsFreshPointsTheProgramAtItAndGoesAway) {
    std::filesystem::path folder;
    {
        testing::TempWorkDir dir;
        folder = dir.path();
        EXPECT_TRUE(std::filesystem::is_empty(folder));
        EXPECT_EQ(WorkDir::fromEnvironment().folder(), folder);
        dir.write("LOG.DAT", "1 2 3\r\n");
        EXPECT_EQ(dir.workDir().file("log.dat"), folder / "LOG.DAT");
        EXPECT_EQ(dir.read("LOG.DAT"), "1 2 3\r\n");
        testing::TempWorkDir other;
        EXPECT_NE(other.path(), folder);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(QtDialogs, ErrorsAreWarningsTitledWithTheProgramsName) {
    const auto error = messageBox(QStringLiteral("Floating point division by zero"), true);
    EXPECT_EQ(error->icon(), QMessageBox::Warning);
    EXPECT_EQ(error->windowTitle(), "Quarvel");
    EXPECT_EQ(error->text(), "Floating point division by zero");
    const auto message = messageBox(QStringLiteral("BND File not found "), false);
    EXPECT_EQ(message->icon(), QMessageBox::Information);
    EXPECT_EQ(message->windowTitle(), "Quarvel");
}

TEST(QtDialogs, OpenTakesTheDefaultExtensionWhenThatFileExists) {
    testing::TempWorkDir dir;
    dir.write("def.SIG", "0.01\r\n");
    dir.write("low.sig", "0.01\r\n");
    dir.write("plain", "0.01\r\n");
    const auto path = [&](const char* name) {
        return QString::fromStdString((dir.path() / name).string());
    };
    const struct {
        const char* typed;
        const char* opened;
    } cases[] = {
        {"def", "def.SIG"}, {"low", "low.sig"}, {"def.SIG", "def.SIG"},
        {"plain", "plain"}, {"none", "none"},   {"none.txt", "none.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(openFileName(path(c.typed), QStringLiteral("SIG")), path(c.opened)) << c.typed;
    }
    EXPECT_EQ(openFileName(path("def"), QString()), path("def"));
}

// The file dialog's answers in turn, and where it was started each time.
TEST(QtDialogs, SaveAsksBeforeReplacingAndNoGoesBackToTheFileDialog) {
    testing::TempWorkDir dir;
    dir.write("fp_all.BMP", "BM");
    const QString stem = QString::fromStdString((dir.path() / "fp_all").string());
    const QString existing = stem + ".BMP";
    const QString fresh = QString::fromStdString((dir.path() / "new").string());
    const QString question =
        QStringLiteral("fp_all.BMP already exists.\nDo you want to replace it?");
    const struct {
        const char* name;
        QStringList typed;         // "" cancels
        std::vector<bool> replace; // the answers to the question, in turn
        std::optional<QString> chosen;
        QStringList starts;
    } cases[] = {
        {"replaced without its extension", {stem}, {true}, existing, {"/start"}},
        {"replaced with it", {existing}, {true}, existing, {"/start"}},
        {"no, then another", {existing, fresh}, {false}, fresh + ".BMP", {"/start", existing}},
        {"no twice, then cancel",
         {stem, existing, ""},
         {false, false},
         std::nullopt,
         {"/start", existing, existing}},
        {"a new file is not asked about", {fresh}, {}, fresh + ".BMP", {"/start"}},
        {"cancel", {""}, {}, std::nullopt, {"/start"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        for (const bool answer : c.replace)
            dialogs.expectQuestion(question, answer);
        QStringList starts;
        const auto ask = [&](const QString& start) {
            starts.append(start);
            return c.typed.value(starts.size() - 1);
        };
        EXPECT_EQ(chooseSaveFile(ask, "/start", QStringLiteral("BMP"), dialogs), c.chosen);
        EXPECT_EQ(starts, c.starts);
        dialogs.expectAllAnswered();
    }
}

} // namespace
} // namespace quarvel
