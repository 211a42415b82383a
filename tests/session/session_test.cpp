// The session file: written and read back, paths kept relative to it, later
// keys ignored, and anything that is not a session refused with a reason.
#include "formats/quarvel_error.h"
#include "session/session.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace quarvel::testing {
namespace {

Session fullSession(const QString& folder) {
    Session session;
    session.photograph = folder + "/cores/core.bmp";
    session.boundaries = folder + "/cores/core.BND";
    session.log = folder + "/core_log.txt";
    session.interpolated = true;
    session.chirpTexts = {"0.02", "2000", "12000", "0.00001"};
    session.chirpGo = true;
    session.synthetic = true;
    session.trace = "/elsewhere/line.sgy";
    session.segy = SegyChoiceFields{
        TraceChoiceKind::Near, "12", "5.5", "-3", 1, 2, "0.02", SeaFloorMode::AtTime, "81.5",
        LengthMode::Given,     "4"};
    session.corePosition = CorePosition{48601.4, -156601.25};
    session.scales = {false, 1300, 1700, true, 1200, 2400};
    session.axisTexts = {"5", "25", "100", "400"};
    session.annotationFont = "Liberation Sans,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1";
    session.panels = {true, false, std::nullopt, true, true, true, false};
    session.seaFloorTimeZero = true;
    session.antiAliased = true;
    session.tiedSynthetic = session.sectionExcerpt = true;
    session.sectionTraces = "12";
    session.logImport.columns = {{LogRole::Depth, "SB DEPTH"}, {LogRole::Density, ""}};
    session.logImport.units = {{LogRole::Depth, "cm"}, {LogRole::Velocity, ""}};
    session.logImport.cleaning = CleaningRules{8.0, std::nullopt, 1300.5};
    session.tiePoints = {{512, "0.4995", 0.667, 0.6675}, {-3, "-0.0150", 0.0, std::nullopt}};
    session.acceptedTies = {{0.25, 0.3375}};
    session.relation = {{0.0, 0.0}, {0.25, 0.3375}, {0.5, 0.6612345678901}};
    return session;
}

// This version's sessions read back as written; the first version's keys,
// named after the windows' fields, read into the same settings.
TEST(SessionTest, SessionsOfBothVersionsReadIntoTheSettings) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("tie.qvs");
    Session calibrated = fullSession(folder.path());
    calibrated.boundaries.clear();
    calibrated.calibration = {"0", "560", "10", "109", "0", "500", "0", "2800"};
    // Cleaning asked with every rule off is not cleaning never asked.
    Session noRules = fullSession(folder.path());
    noRules.logImport.cleaning = CleaningRules{};
    noRules.seaFloorTimeZero = false;
    for (const Session& session : {fullSession(folder.path()), calibrated, noRules, Session{}}) {
        writeSessionFile(session, path);
        EXPECT_EQ(readSessionFile(path), session);
    }

    Session first;
    first.log = "/cores/core.txt";
    first.interpolated = true;
    first.logImport.columns = {{LogRole::Depth, "DEPT"}};
    first.scales = {false, 1300, 1700, true, 1400, 2300};
    first.axisTexts = {"5", "50", "200", "200"};
    first.panels.photo = true;
    first.panels.trace = false;
    first.panels.correlator = true;
    first.panels.fitCore = false;
    first.segy = SegyChoiceFields{
        TraceChoiceKind::Shot, "1057", "", "", 2, 3, "0.02", SeaFloorMode::Keep, "",
        LengthMode::LogTwt,    ""};
    const struct {
        const char* name;
        QByteArray text;
        Session expected;
    } cases[] = {
        {"first version",
         R"json({"format": "quarvel-session", "version": 1, "bookmarks": [[1, 2]],
             "photograph": {"fitCore": false},
             "log": {"file": "core.txt", "interpolated": true, "units": "m",
                     "import": {"columns": {"depth": "DEPT", "porosity": "PHI"}, "order": 2}},
             "trace": {"segy": {"ChoiceBox": "Field record (shot)", "NumberEdit": "1057",
                                "ChannelBox": "Channel 3", "StackSpin": "3",
                                "IntervalEdit": "0.02", "SeaFloorBox": "Do not cut",
                                "LengthBox": "Log two-way time (3.312 ms)"}},
             "fields": {"VelScaleForm": {"Autovel": "false", "MinVel": "1300", "Maxvel": "1700"},
                        "GraphForm": {"Edit1": "5"}},
             "checkBoxes": {"Photo": true, "Trace": false, "Other": true},
             "correlator": true})json",
         first},
        {"no version, no settings: the program's own",
         R"({"format": "quarvel-session", "log": {"file": "core.txt"}})",
         [] {
             Session plain;
             plain.log = "/cores/core.txt";
             return plain;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sessionFromJson(c.text, "/cores"), c.expected);
    }
}

TEST(SessionTest, PathsBesideOrBelowTheSessionAreStoredRelative) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString base = folder.path() + "/project";
    const struct {
        QString path;
        QString stored;
    } cases[] = {
        {base + "/core.bmp", "core.bmp"},
        {base + "/cores/a/core.bmp", "cores/a/core.bmp"},
        {folder.path() + "/core.bmp", folder.path() + "/core.bmp"},
        {base + "x/core.bmp", base + "x/core.bmp"},
        {"/data/core.bmp", "/data/core.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Session session;
        session.photograph = c.path;
        const QByteArray text = sessionToJson(session, base);
        const QJsonObject root = QJsonDocument::fromJson(text).object();
        EXPECT_EQ(root["photograph"].toObject()["file"].toString(), c.stored);
        // Read from the same folder, the path comes back whole.
        EXPECT_EQ(sessionFromJson(text, base).photograph, c.path);
    }
    // A folder moved with its session keeps its files.
    Session session;
    session.log = base + "/logs/core.txt";
    EXPECT_EQ(sessionFromJson(sessionToJson(session, base), "/moved").log, "/moved/logs/core.txt");
}

// A row outside the photograph (or with none) has no depth: left out, said.
TEST(SessionTest, TiePointsOffThePhotographAreLeftOutAndNamed) {
    const QList<SessionTiePoint> points = {{-5, "", 0, {}}, {99, "", 0, {}}, {100, "", 0, {}}};
    QStringList problems;
    EXPECT_EQ(tiePointsOnPhotograph(points, 100, problems), points.mid(1, 1));
    EXPECT_TRUE(tiePointsOnPhotograph(points.mid(1, 1), 0, problems).isEmpty());
    const QString outside = " lies outside the photograph (rows 0 to 99); it was left out";
    EXPECT_EQ(problems, (QStringList{"The tie point at row -5" + outside,
                                     "The tie point at row 100" + outside,
                                     "The tie point at row 99 has no photograph to lie on; it was "
                                     "left out"}));
}

TEST(SessionTest, ATextThatIsNotASessionIsRefusedWithItsReason) {
    const struct {
        QByteArray text;
        std::string reason;
    } cases[] = {
        {"", "illegal value"},
        {QByteArray("\x00\x01\xff\xfe", 4), "illegal value"},
        {R"({"format": "quarvel-session", "log": {)", "at character"},
        {"[1, 2]", "it does not say \"format\": \"quarvel-session\""},
        {R"({"photograph": {"file": "a.bmp"}})", "it does not say \"format\""},
        {R"({"format": "quarvel-session", "version": 3})",
         "it is of version 3, and this Quarvel reads sessions up to version 2"},
        {R"({"format": "quarvel-session", "version": "1"})",
         "\"version\" should be a whole number from 1"},
        {R"({"format": "quarvel-session", "version": 0.5})",
         "\"version\" should be a whole number from 1"},
        {R"({"format": "quarvel-session", "log": {"interpolated": "yes"}})",
         "\"log.interpolated\" should be true or false"},
        {R"({"format": "quarvel-session", "photograph": {"file": 3}})",
         "\"photograph.file\" should be text"},
        {R"({"format": "quarvel-session", "photograph": {"calibration": ["1", "2"]}})",
         "\"photograph.calibration\" should be a list of 8 texts"},
        {R"({"format": "quarvel-session", "chirp": {"texts": "0.02"}})",
         "\"chirp.texts\" should be a list of 4 texts"},
        {R"({"format": "quarvel-session", "trace": []})", "\"trace\" should be a group"},
        {R"({"format": "quarvel-session", "fields": {"GraphForm": {"Edit1": 10}}})",
         "\"fields.GraphForm\" should be texts by name"},
        {R"({"format": "quarvel-session", "fields": {"VelScaleForm": {"MinVel": "fast"}}})",
         "\"fields.VelScaleForm.MinVel\" should be a whole number"},
        {R"({"format": "quarvel-session", "trace": {"segy": {"SeaFloorBox": "Deep"}}})",
         "\"trace.segy.SeaFloorBox\" should be an item of the list"},
        {R"({"format": "quarvel-session", "checkBoxes": {"Photo": 1}})",
         "\"checkBoxes\" should be true or false by name"},
        {R"({"format": "quarvel-session", "version": 2, "panels": {"photo": "yes"}})",
         "\"panels.photo\" should be true or false"},
        {R"({"format": "quarvel-session", "version": 2, "scales": {"minVelocity": 1.5}})",
         "\"scales.minVelocity\" should be a whole number"},
        {R"({"format": "quarvel-session", "version": 2, "trace": {"segy": {"length": "all"}}})",
         "\"trace.segy.length\" should be one of \"whole\", \"synthetic\""},
        {R"({"format": "quarvel-session", "version": 2, "corePosition": {"x": 5}})",
         "\"corePosition.y\" should be a number"},
        {R"({"format": "quarvel-session", "version": 2, "finalPlot": {"sectionTraces": 12}})",
         "\"finalPlot.sectionTraces\" should be text"},
        {R"({"format": "quarvel-session", "tiePoints": {"row": 1}})",
         "\"tiePoints\" should be a list"},
        {R"({"format": "quarvel-session", "tiePoints": [[1, 2]]})",
         "\"tiePoints[0]\" should be a group of settings"},
        {R"({"format": "quarvel-session", "tiePoints": [{"row": 1.5}]})",
         "\"tiePoints[0].row\" should be a whole number"},
        {R"({"format": "quarvel-session", "tiePoints": [{"row": 1, "est_twt_ms": "0.6"}]})",
         "\"tiePoints[0].est_twt_ms\" should be a number"},
        {R"({"format": "quarvel-session", "timeZero": "top"})",
         "\"timeZero\" should be \"sea-floor\" or \"strongest\""},
        {R"({"format": "quarvel-session", "log": {"import": {"cleaning": {"minVelocity": "1"}}}})",
         "\"log.import.cleaning.minVelocity\" should be a number"},
        {R"({"format": "quarvel-session", "log": {"import": {"units": {"depth": 100}}}})",
         "\"log.import.units\" should be texts by name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        try {
            sessionFromJson(c.text, "/cores");
            ADD_FAILURE() << "accepted";
        } catch (const QuarvelError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

TEST(SessionTest, FilesThatCannotBeSessionsNameTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString huge = folder.filePath("huge.qvs");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(4 << 20));
    }
    const QString notJson = folder.filePath("notes.qvs");
    {
        QFile file(notJson);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("core 1, photographed 3 May\n");
    }
    const QString fifo = folder.filePath("pipe.qvs");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {folder.filePath("missing.qvs"),
         QStringLiteral("Cannot open file \"%1\"").arg(folder.filePath("missing.qvs"))},
        {huge, QStringLiteral("\"%1\" is not a Quarvel session: it is larger than").arg(huge)},
        {notJson, QStringLiteral("\"%1\" is not a Quarvel session: ").arg(notJson)},
        // Opening a pipe for reading waits for a writer: the test would hang.
        {fifo, QStringLiteral("Cannot open file \"%1\". It is not a file.").arg(fifo)},
    };
    for (const auto& c : cases) {
        try {
            readSessionFile(c.path);
            ADD_FAILURE() << c.path.toStdString() << " accepted";
        } catch (const QuarvelError& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(c.message)) << e.what();
        }
    }
}

TEST(SessionTest, AFailedWriteSaysSo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken.qvs"));
    for (const QString& path :
         {folder.filePath("no/such/folder/tie.qvs"), folder.filePath("taken.qvs")}) {
        try {
            writeSessionFile(Session{}, path);
            ADD_FAILURE() << path.toStdString() << " written";
        } catch (const QuarvelError& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(
                QStringLiteral("Cannot create file \"%1\"").arg(path)))
                << e.what();
        }
    }
}

} // namespace
} // namespace quarvel::testing
