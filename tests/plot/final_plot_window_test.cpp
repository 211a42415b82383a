#include "calibration/core_photo_form.h"
#include "formats/quarvel_error.h"
#include "main_window/main_form.h"
#include "platform/canvas.h"
#include "platform/image_panel.h"
#include "plot/final_table_form.h"
#include "plot/graph_form.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <csignal>
#include <sys/resource.h>

namespace quarvel::testing {
namespace {

constexpr QRgb White = 0xffffffff;
constexpr int H = 600;

QImage filled(int width, QRgb color) {
    QImage image(width, H, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Reports nothing to the scripted reporter's exact-text checks: collects what
// a command reports whose text depends on the system.
class CollectingReporter : public ErrorReporter {
public:
    void report(const QString& message) override { messages.push_back(message); }
    std::vector<QString> messages;
};

// A photograph in the workspace; the trace comes when a test draws it.
class FinalPlotWindow : public AppFixture {
protected:
    FinalPlotWindow() {
        const QString photo = QString::fromStdString((workDir.path() / "core1.bmp").string());
        EXPECT_TRUE(filled(103, 0xffc08040).save(photo, "BMP"));
        workspace().loadPhotograph(photo);
        child<QLineEdit>(forms().Core_Photo_Form, "Top")->setText("0");
        child<QLineEdit>(forms().Core_Photo_Form, "Bottom")->setText("1000");
        plotWindow = forms().FinalTableForm;
        image = child<ImagePanel>(plotWindow, "Image1");
    }

    void drawTrace() {
        workDir.write("trace.txt", "0 0\r\n0.1 1\r\n");
        workspace().series().readTrace();
    }

    bool titleShown() const {
        const Canvas& plot = image->picture();
        for (int y = 5; y < 30; ++y) {
            for (int x = 50; x < 120; ++x) {
                if (plot.pixel(x, y) != White) {
                    return true;
                }
            }
        }
        return false;
    }

    TFinalTableForm* plotWindow = nullptr;
    ImagePanel* image = nullptr;
};

TEST_F(FinalPlotWindow, FinalPlotHasTheTitleAndCreateFinalPlotNot) {
    EXPECT_FALSE(plotWindow->isVisible());
    EXPECT_FALSE(child<QAction>(plotWindow, "Save1")->isEnabled());

    mainForm().FinalTableshowClick();
    EXPECT_TRUE(plotWindow->isVisible());
    ASSERT_TRUE(image->hasPicture());
    EXPECT_EQ(image->picture().image().size(), QSize(1000, H + 100));
    EXPECT_EQ(image->size(), QSize(1000, H + 100));
    EXPECT_TRUE(titleShown());
    EXPECT_TRUE(child<QAction>(plotWindow, "Save1")->isEnabled());

    mainForm().SaveToFile1Click();
    EXPECT_FALSE(titleShown());
}

TEST_F(FinalPlotWindow, KeepsTheTraceColumnOfTheLastPlotWithTheTrace) {
    drawTrace();
    mainForm().FinalTableshowClick();
    EXPECT_EQ(workspace().finalPlot().axisX(), 310);
    EXPECT_EQ(image->picture().pixel(310, 300), 0xff000000) << "the trace panel's frame";

    mainWidgets().Trace->setChecked(false);
    mainWidgets().Photo->setChecked(false);
    mainForm().SaveToFile1Click();
    EXPECT_EQ(workspace().finalPlot().axisX(), 310);
}

TEST_F(FinalPlotWindow, AFailedCompositionLeavesTheShownPlot) {
    mainForm().FinalTableshowClick();
    const QImage before = image->picture().image();
    plotWindow->hide();

    struct Case {
        std::function<void()> change;
        QString message;
    };
    const Case cases[] = {
        {[this] { child<QLineEdit>(forms().GraphForm, "Edit3")->setText("0"); },
         QString(msg::DivisionByZero.data())},
        {[this] { child<QLineEdit>(forms().GraphForm, "Edit4")->setText("ten"); },
         "'ten' is not a valid integer value"},
        {[this] {
             mainWidgets().Trace->setEnabled(true);
             mainWidgets().Trace->setChecked(true);
         },
         "Nothing has been drawn in the \"Trace\" panel yet."},
    };
    for (const Case& c : cases) {
        child<QLineEdit>(forms().GraphForm, "Edit3")->setText("200");
        child<QLineEdit>(forms().GraphForm, "Edit4")->setText("200");
        c.change();
        errors.expectError(c.message);
        mainForm().FinalTableshowClick();
        errors.expectAllReported();
        EXPECT_FALSE(plotWindow->isVisible());
        EXPECT_EQ(image->picture().image(), before);
    }
}

TEST_F(FinalPlotWindow, SaveAsWritesTheWindowsBitmapOverAnyFile) {
    mainForm().SaveToFile1Click();
    const QString path = QString::fromStdString((workDir.path() / "plot.BMP").string());
    workDir.write("plot.BMP", "an older file");

    dialogs.expectSaveFile(path);
    child<QAction>(plotWindow, "Save1")->trigger();
    ASSERT_EQ(dialogs.fileQuestions().size(), 1u);
    EXPECT_EQ(dialogs.fileQuestions()[0].filter, "Bitmap|*.BMP");
    EXPECT_EQ(dialogs.fileQuestions()[0].defaultExtension, "BMP");
    EXPECT_EQ(workDir.read("plot.BMP").substr(0, 2), "BM");
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "bmp");
    const QImage saved = reader.read();
    EXPECT_EQ(saved.size(), QSize(1000, H + 100));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), image->picture().image());

    dialogs.expectSaveFile(std::nullopt); // cancelled: nothing written
    workDir.write("plot.BMP", "kept");
    plotWindow->Save1Click();
    EXPECT_EQ(workDir.read("plot.BMP"), "kept");
}

TEST_F(FinalPlotWindow, AFailedSaveIsReportedAndLeavesThePlot) {
    mainForm().SaveToFile1Click();
    const QImage before = image->picture().image();
    CollectingReporter collecting;
    Forms noOtherWindows;
    Services services{dialogs, collecting, workDir.workDir(), workspace(), noOtherWindows};
    TFinalTableForm window(services);
    window.showPlot(before);
    const std::string path = (workDir.path() / "no such folder" / "plot.bmp").string();
    dialogs.expectSaveFile(QString::fromStdString(path));
    window.Save1Click();
    ASSERT_EQ(collecting.messages.size(), 1u);
    EXPECT_EQ(collecting.messages[0].toStdString(),
              "Cannot create file \"" + path + "\". No such file or directory.");
    EXPECT_EQ(child<ImagePanel>(&window, "Image1")->picture().image(), before);

    // A write the system cuts short (a full disk, here a file size limit)
    // names the system's reason, and an older file stays.
    const std::string full = (workDir.path() / "plot.bmp").string();
    workDir.write("plot.bmp", "older plot");
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    dialogs.expectSaveFile(QString::fromStdString(full));
    window.Save1Click();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    ASSERT_EQ(collecting.messages.size(), 2u);
    EXPECT_EQ(collecting.messages[1].toStdString(),
              "Cannot create file \"" + full + "\". File too large.");
    EXPECT_EQ(workDir.read("plot.bmp"), "older plot");
}

TEST_F(FinalPlotWindow, ParametersShowsTheDialogAndExitClosesTheWindow) {
    mainForm().FinalTableshowClick();
    child<QAction>(plotWindow, "Parameters1")->trigger();
    EXPECT_TRUE(forms().GraphForm->isVisible());
    EXPECT_FALSE(forms().GraphForm->isModal());
    EXPECT_TRUE(plotWindow->isVisible());
    child<QAction>(plotWindow, "Exit1")->trigger();
    EXPECT_FALSE(plotWindow->isVisible());
    EXPECT_TRUE(image->hasPicture());
}

} // namespace
} // namespace quarvel::testing
