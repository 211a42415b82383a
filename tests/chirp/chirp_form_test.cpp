#include "chirp/chirp_form.h"
#include "chirp/chirp_source.h"
#include "formats/quarvel_error.h"
#include "platform/image_panel.h"
#include "plot/chirp_graph.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <cerrno>
#include <sys/stat.h>

namespace quarvel::testing {
namespace {

class ChirpWindow : public AppFixture {
protected:
    ChirpWindow() : form(*forms().Chirp_Form) {}

    std::vector<QString> texts() const {
        return {child<QLineEdit>(&form, "peredit")->text(),
                child<QLineEdit>(&form, "stfreqedit")->text(),
                child<QLineEdit>(&form, "edfreqedit")->text(),
                child<QLineEdit>(&form, "samedit")->text()};
    }
    void setTexts(const std::vector<QString>& values) {
        child<QLineEdit>(&form, "peredit")->setText(values[0]);
        child<QLineEdit>(&form, "stfreqedit")->setText(values[1]);
        child<QLineEdit>(&form, "edfreqedit")->setText(values[2]);
        child<QLineEdit>(&form, "samedit")->setText(values[3]);
    }
    QString path(const char* name) const {
        return QString::fromStdString((workDir.path() / name).string());
    }
    void load(const char* name) {
        dialogs.expectOpenFile(path(name));
        child<QAction>(&form, "Load1")->trigger();
    }
    QImage graphFrom(const char* file, const QString& caption) const {
        return renderChirpGraph(readChirpGraphValues(workDir.file(file)), 375, 161, caption).image;
    }

    TChirp_Form& form;
    const std::vector<QString> defaults{"0.01", "2000", "7000", "0.00001"};
};

TEST_F(ChirpWindow, SaveThenLoadRestoresTheExactTexts) {
    dialogs.expectSaveFile(path("deep.SIG"));
    child<QAction>(&form, "Save1")->trigger();
    ASSERT_EQ(dialogs.fileQuestions().size(), 1u);
    EXPECT_EQ(dialogs.fileQuestions()[0].filter, "Chirp Signals|*.SIG");
    EXPECT_EQ(dialogs.fileQuestions()[0].defaultExtension, "SIG");
    EXPECT_EQ(workDir.read("deep.SIG"), "0.01\r\n2000\r\n7000\r\n0.00001\r\n");
    EXPECT_EQ(child<QLabel>(&form, "Label5")->text(), "default parameters");

    setTexts({" 0.02 ", "1e3", "", "x"});
    load("deep.SIG");
    EXPECT_EQ(texts(), defaults);
    EXPECT_EQ(child<QLabel>(&form, "Label5")->text(), "deep.SIG");
}

TEST_F(ChirpWindow, LoadTakesEachLineAsItStands) {
    struct Case {
        const char* bytes;
        std::vector<QString> texts;
    };
    const Case cases[] = {
        {"0.02\r\n3000\r\n", {"0.02", "3000", "", ""}},
        {" 0.02 \n3000\n8000\n0.00002\nextra\n", {" 0.02 ", "3000", "8000", "0.00002"}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        setTexts(defaults);
        workDir.write("two.sig", c.bytes);
        load("two.sig");
        EXPECT_EQ(texts(), c.texts) << c.bytes;
        EXPECT_EQ(child<QLabel>(&form, "Label5")->text(), "two.sig");
    }
}

TEST_F(ChirpWindow, ALatin1FileIsSavedBackByteForByte) {
    // Notes typed on an older system: "\xE9" is "é" in Latin-1, not UTF-8.
    const std::string bytes = "0.01 d\xE9"
                              "faut\r\n2000\r\n7000 \xC3\xA9t\xC3\xA9\r\n0.00001\xB5s\r\n";
    workDir.write("old.SIG", bytes);
    load("old.SIG");
    EXPECT_EQ(texts(), (std::vector<QString>{QString::fromUtf8("0.01 d\xC3\xA9"
                                                               "faut"),
                                             "2000", QString::fromUtf8("7000 \xC3\xA9t\xC3\xA9"),
                                             QString::fromUtf8("0.00001\xC2\xB5s")}));
    dialogs.expectSaveFile(path("copy.SIG"));
    form.Save1Click();
    EXPECT_EQ(workDir.read("copy.SIG"), bytes);
}

TEST_F(ChirpWindow, AFileThatCannotBeLoadedLeavesTheFields) {
    workDir.write("binary.SIG", std::string("0.01\r\n\0\x01\x02\r\n", 10));
    workDir.write("huge.SIG", std::string(70000, '7'));
    std::filesystem::create_directory(workDir.file("folder.SIG"));
    ASSERT_EQ(::mkfifo(workDir.file("fifo.SIG").c_str(), 0600), 0);
    const struct {
        const char* name;
        QString reason;
    } cases[] = {
        {"binary.SIG", "It is not a chirp signal file."},
        {"huge.SIG", "The file is too large (70000 bytes; at most 65536 are read)."},
        {"folder.SIG", "It is a folder, not a file."},
        {"fifo.SIG", "It is not a file."},
    };
    setTexts({"0.02", "2500", "6000", "0.00002"});
    for (const auto& c : cases) {
        errors.expectError("Cannot open file \"" + path(c.name) + "\". " + c.reason);
        load(c.name);
        errors.expectAllReported();
        EXPECT_EQ(texts(), (std::vector<QString>{"0.02", "2500", "6000", "0.00002"}));
        EXPECT_EQ(child<QLabel>(&form, "Label5")->text(), "default parameters");
    }
}

TEST_F(ChirpWindow, CancelledDialogsChangeNothing) {
    dialogs.expectSaveFile(std::nullopt);
    form.Save1Click();
    dialogs.expectOpenFile(QString());
    form.Load1Click();
    EXPECT_EQ(texts(), defaults);
    EXPECT_EQ(child<QLabel>(&form, "Label5")->text(), "default parameters");
    EXPECT_TRUE(std::filesystem::is_empty(workDir.path()));
}

TEST_F(ChirpWindow, AFailedSaveIsReported) {
    const QString target = path("no folder/x.SIG");
    errno = ENOENT;
    errors.expectError("Cannot create file \"" + target + "\". " +
                       QString::fromStdString(systemReason()));
    dialogs.expectSaveFile(target);
    form.Save1Click();
    errors.expectAllReported();
    EXPECT_TRUE(std::filesystem::is_empty(workDir.path()));
}

TEST_F(ChirpWindow, GoDrawsTheWaveletAndTheSweep) {
    child<QToolButton>(&form, "SpeedButton1")->click();
    ASSERT_TRUE(child<ImagePanel>(&form, "Grafico_Source0")->hasPicture());
    ASSERT_TRUE(child<ImagePanel>(&form, "Grafico_source1")->hasPicture());
    EXPECT_EQ(readChirpGraphValues(workDir.file("klauder.dat")).size(), 198u);
    EXPECT_EQ(readChirpGraphValues(workDir.file("chirp.dat")).size(), 1002u);
    EXPECT_EQ(child<ImagePanel>(&form, "Grafico_Source0")->picture().image(),
              graphFrom("klauder.dat", "Klauder.dat"));
    EXPECT_EQ(child<ImagePanel>(&form, "Grafico_source1")->picture().image(),
              graphFrom("chirp.dat", "Chirp.dat"));
    const ChirpGraph sweep =
        renderChirpGraph(readChirpGraphValues(workDir.file("chirp.dat")), 375, 161, "Chirp.dat");
    EXPECT_EQ(sweep.polyline.back().x(), 375);
}

TEST_F(ChirpWindow, RefusedParametersLeaveGraphsAndFiles) {
    form.SpeedButton1Click();
    const QImage wavelet = child<ImagePanel>(&form, "Grafico_Source0")->picture().image();
    const std::string klauder = workDir.read("klauder.dat");
    const std::vector<std::vector<QString>> refused{
        {"0.01", "2000", "7000", "0"},    {"-1", "2000", "7000", "0.00001"},
        {"1", "2000", "7000", "0.00001"}, {"0.01", "2000", "70000", "0.00001"},
        {"0.01", "0", "0", "0.00001"},
    };
    for (const std::vector<QString>& values : refused) {
        setTexts(values);
        const std::optional<std::string> problem =
            chirpParameterProblem({values[0].toStdString(), values[1].toStdString(),
                                   values[2].toStdString(), values[3].toStdString()});
        ASSERT_TRUE(problem.has_value());
        errors.expectError(QString::fromStdString(*problem));
        form.SpeedButton1Click();
        errors.expectAllReported();
        EXPECT_EQ(child<ImagePanel>(&form, "Grafico_Source0")->picture().image(), wavelet);
        EXPECT_EQ(workDir.read("klauder.dat"), klauder);
    }
}

TEST_F(ChirpWindow, GraphsWithoutPairsShowFrameAndCaption) {
    workDir.write("KLAUDER.DAT", "");
    form.DRAW_SOURCE();
    EXPECT_EQ(child<ImagePanel>(&form, "Grafico_Source0")->picture().image(),
              renderChirpGraph({}, 375, 161, "Klauder.dat").image);
    EXPECT_EQ(child<ImagePanel>(&form, "Grafico_source1")->picture().image(),
              renderChirpGraph({}, 375, 161, "Chirp.dat").image);
}

TEST_F(ChirpWindow, TheTimeReadOutIsTheSameOverBothGraphs) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const auto* status = child<QLabel>(&form, "StatusPanel");
    for (ImagePanel* graph : {child<ImagePanel>(&form, "Grafico_Source0"),
                              child<ImagePanel>(&form, "Grafico_source1")}) {
        const struct {
            int x;
            const char* text;
        } cases[] = {{0, " t:-0.00499 sec."}, {187, " t:0.00000 sec."}, {374, " t:0.00499 sec."}};
        for (const auto& c : cases) {
            QTest::mouseMove(graph, QPoint(c.x, 80));
            EXPECT_TRUE(QTest::qWaitFor([&] { return status->text() == c.text; }))
                << graph->objectName().toStdString() << " " << c.x << ": "
                << status->text().toStdString();
        }
    }
    child<QLineEdit>(&form, "peredit")->setText("0");
    form.Grafico_source1MouseMove(10);
    EXPECT_EQ(status->text(), " t:0.00000 sec.");
}

} // namespace
} // namespace quarvel::testing
