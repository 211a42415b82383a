#include "session/session.h"

#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace quarvel {

namespace {

constexpr auto FormatName = "quarvel-session";
constexpr int FormatVersion = 2;
// A session is a page of text; anything far larger is not one, and reading it
// whole would only waste memory.
constexpr qint64 MaxSessionBytes = 1 << 20;

[[noreturn]] void refuse(const QString& why) {
    throw QuarvelError(why.toStdString(), ErrorKind::InvalidData);
}

// A session of a later version may hold what this one would drop when the
// session is saved again, so it is not opened at all. A session without a
// version is read as the first.
int checkVersion(const QJsonValue& version) {
    if (version.isUndefined()) {
        return 1;
    }
    const double number = version.toDouble(-1);
    if (!version.isDouble() || number != std::floor(number) || number < 1) {
        refuse(QStringLiteral("\"version\" should be a whole number from 1"));
    }
    if (number > FormatVersion) {
        refuse(QStringLiteral("it is of version %1, and this Quarvel reads sessions up to version "
                              "%2")
                   .arg(number)
                   .arg(FormatVersion));
    }
    return static_cast<int>(number);
}

QString storedPath(const QString& path, const QDir& base) {
    if (path.isEmpty()) {
        return {};
    }
    const QString relative = base.relativeFilePath(path);
    const bool inside = !relative.startsWith(QStringLiteral("../")) && relative != ".." &&
                        !QDir::isAbsolutePath(relative);
    return inside ? relative : QDir::cleanPath(path);
}

QString loadedPath(const QString& stored, const QDir& base) {
    if (stored.isEmpty()) {
        return {};
    }
    return QDir::cleanPath(base.absoluteFilePath(stored));
}

QJsonArray toArray(const QStringList& texts) {
    return QJsonArray::fromStringList(texts);
}

// Typed reads of an object's members: a member that is absent gives the
// default; one of the wrong type refuses the file, naming the key.
class Reader {
public:
    Reader(const QJsonObject& object, QString where) : object_(object), where_(std::move(where)) {}

    QString text(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isString()) {
            wrong(key, "text");
        }
        return value.toString();
    }

    bool flag(const char* key, bool absent = false) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) {
            return absent;
        }
        if (!value.isBool()) {
            wrong(key, "true or false");
        }
        return value.toBool();
    }

    QStringList texts(const char* key, qsizetype count) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) {
            return {};
        }
        QStringList result;
        for (const QJsonValue item : value.toArray()) {
            if (!item.isString()) {
                wrong(key, "a list of texts");
            }
            result.append(item.toString());
        }
        if (!value.isArray() || result.size() != count) {
            wrong(key, QStringLiteral("a list of %1 texts").arg(count).toUtf8().constData());
        }
        return result;
    }

    QMap<QString, QString> textMap(const char* key) const {
        QMap<QString, QString> result;
        const QJsonObject members = object(key);
        for (auto it = members.begin(); it != members.end(); ++it) {
            if (!it.value().isString()) {
                wrong(key, "texts by name");
            }
            result.insert(it.key(), it.value().toString());
        }
        return result;
    }

    QMap<QString, bool> flagMap(const char* key) const {
        QMap<QString, bool> result;
        const QJsonObject members = object(key);
        for (auto it = members.begin(); it != members.end(); ++it) {
            if (!it.value().isBool()) {
                wrong(key, "true or false by name");
            }
            result.insert(it.key(), it.value().toBool());
        }
        return result;
    }

    bool has(const char* key) const { return object_.contains(QLatin1String(key)); }

    std::optional<double> number(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) {
            return std::nullopt;
        }
        if (!value.isDouble()) {
            wrong(key, "a number");
        }
        return value.toDouble();
    }

    int wholeNumber(const char* key, int absent = 0) const {
        const double value = number(key).value_or(absent);
        if (value != std::trunc(value) || std::abs(value) > std::numeric_limits<int>::max()) {
            wrong(key, "a whole number");
        }
        return static_cast<int>(value);
    }

    QJsonArray array(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isArray()) {
            wrong(key, "a list");
        }
        return value.toArray();
    }

    QJsonObject object(const char* key) const {
        const QJsonValue value = object_.value(QLatin1String(key));
        if (value.isUndefined()) {
            return {};
        }
        if (!value.isObject()) {
            wrong(key, "a group of settings");
        }
        return value.toObject();
    }

    Reader group(const char* key) const { return {object(key), where_ + key + '.'}; }

    // A value of the right type that is none of those allowed.
    [[noreturn]] void refuseValue(const char* key, const QString& expected) const {
        refuse(QStringLiteral("\"%1%2\" should be %3").arg(where_, key, expected));
    }

private:
    [[noreturn]] void wrong(const char* key, const char* expected) const {
        refuse(QStringLiteral("\"%1%2\" should be %3").arg(where_, key, expected));
    }

    QJsonObject object_;
    QString where_;
};

constexpr std::array<LogRole, 3> Roles{LogRole::Depth, LogRole::Velocity, LogRole::Density};

QJsonObject importToJson(const LogImportChoices& choices) {
    QJsonObject columns;
    QJsonObject units;
    for (const LogRole role : Roles) {
        if (const auto it = choices.columns.find(role); it != choices.columns.end()) {
            columns.insert(QLatin1String(roleKey(role)), QString::fromStdString(it->second));
        }
        if (const auto it = choices.units.find(role); it != choices.units.end()) {
            units.insert(QLatin1String(roleKey(role)), QString::fromStdString(it->second));
        }
    }
    QJsonObject object;
    if (!columns.isEmpty()) {
        object.insert("columns", columns);
    }
    if (!units.isEmpty()) {
        object.insert("units", units);
    }
    if (const std::optional<CleaningRules>& rules = choices.cleaning) {
        // A rule that is off has no key.
        QJsonObject cleaning;
        const std::pair<const char*, std::optional<double>> values[] = {
            {"minAmplitude", rules->minAmplitude},
            {"minVelocity", rules->minVelocity},
            {"maxVelocity", rules->maxVelocity}};
        for (const auto& [key, value] : values) {
            if (value) {
                cleaning.insert(QLatin1String(key), *value);
            }
        }
        object.insert("cleaning", cleaning);
    }
    return object;
}

LogImportChoices importFromJson(const Reader& import) {
    LogImportChoices choices;
    const QMap<QString, QString> columns = import.textMap("columns");
    const QMap<QString, QString> units = import.textMap("units");
    for (const LogRole role : Roles) {
        const QString key = QLatin1String(roleKey(role));
        if (columns.contains(key)) {
            choices.columns[role] = columns.value(key).toStdString();
        }
        if (units.contains(key)) {
            choices.units[role] = units.value(key).toStdString();
        }
    }
    if (import.has("cleaning")) {
        const Reader rules = import.group("cleaning");
        choices.cleaning = CleaningRules{rules.number("minAmplitude"), rules.number("minVelocity"),
                                         rules.number("maxVelocity")};
    }
    return choices;
}

QJsonArray tiePointsToJson(const QList<SessionTiePoint>& points) {
    QJsonArray array;
    for (const SessionTiePoint& point : points) {
        QJsonObject object{
            {"row", point.row}, {"depth_m", point.depthText}, {"est_twt_ms", point.estTwt}};
        if (point.traceTwt) {
            object.insert("trace_twt_ms", *point.traceTwt);
        }
        array.append(object);
    }
    return array;
}

QList<SessionTiePoint> tiePointsFromJson(const Reader& root) {
    QList<SessionTiePoint> points;
    const QJsonArray array = root.array("tiePoints");
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString where = QStringLiteral("tiePoints[%1].").arg(i);
        if (!array[i].isObject()) {
            refuse(QStringLiteral("\"%1\" should be a group of settings").arg(where.chopped(1)));
        }
        const Reader point(array[i].toObject(), where);
        points.append({point.wholeNumber("row"), point.text("depth_m"),
                       point.number("est_twt_ms").value_or(0.0), point.number("trace_twt_ms")});
    }
    return points;
}

// Pairs [depth_m, twt_ms].
QJsonArray depthTimesToJson(const QList<SessionDepthTime>& points) {
    QJsonArray array;
    for (const SessionDepthTime& point : points) {
        array.append(QJsonArray{point.depth, point.twtMs});
    }
    return array;
}

QList<SessionDepthTime> depthTimesFromJson(const Reader& group, const char* key) {
    QList<SessionDepthTime> points;
    for (const QJsonValue pair : group.array(key)) {
        const QJsonArray values = pair.toArray();
        if (!pair.isArray() || values.size() != 2 || !values[0].isDouble() ||
            !values[1].isDouble()) {
            group.refuseValue(key, QStringLiteral("a list of [depth_m, twt_ms] pairs"));
        }
        points.append({values[0].toDouble(), values[1].toDouble()});
    }
    return points;
}

constexpr auto SeaFloor = "sea-floor";
constexpr auto Strongest = "strongest";

// A choice stored by its name: the names in the order of the enumeration.
template <class Choice, std::size_t N>
QString choiceName(Choice choice, const std::array<const char*, N>& names) {
    return QLatin1String(names.at(static_cast<std::size_t>(choice)));
}

template <class Choice, std::size_t N>
Choice choiceNamed(const Reader& reader, const char* key, const std::array<const char*, N>& names,
                   Choice absent) {
    const QString name = reader.text(key);
    if (name.isEmpty()) {
        return absent;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i])) {
            return static_cast<Choice>(i);
        }
    }
    QStringList known;
    for (const char* item : names) {
        known << QStringLiteral("\"%1\"").arg(QLatin1String(item));
    }
    reader.refuseValue(key, "one of " + known.join(QStringLiteral(", ")));
}

constexpr std::array<const char*, 3> TraceChoiceNames{"index", "shot", "near"};
constexpr std::array<const char*, 3> SeaFloorNames{"keep", "auto", "time"};
constexpr std::array<const char*, 4> LengthNames{"whole", "synthetic", "logTwt", "given"};

QJsonObject segyToJson(const SegyChoiceFields& f) {
    return {{"choice", choiceName(f.kind, TraceChoiceNames)},
            {"number", QString::fromStdString(f.number)},
            {"x", QString::fromStdString(f.x)},
            {"y", QString::fromStdString(f.y)},
            {"channel", f.channel},
            {"stack", f.stack},
            {"intervalMs", QString::fromStdString(f.intervalMs)},
            {"seaFloor", choiceName(f.seaFloor, SeaFloorNames)},
            {"seaFloorMs", QString::fromStdString(f.seaFloorMs)},
            {"length", choiceName(f.length, LengthNames)},
            {"lengthMs", QString::fromStdString(f.lengthMs)}};
}

SegyChoiceFields segyFromJson(const Reader& segy) {
    SegyChoiceFields f;
    f.kind = choiceNamed(segy, "choice", TraceChoiceNames, f.kind);
    if (segy.has("number")) {
        f.number = segy.text("number").toStdString();
    }
    f.x = segy.text("x").toStdString();
    f.y = segy.text("y").toStdString();
    f.channel = segy.wholeNumber("channel");
    f.stack = segy.wholeNumber("stack");
    f.intervalMs = segy.text("intervalMs").toStdString();
    f.seaFloor = choiceNamed(segy, "seaFloor", SeaFloorNames, f.seaFloor);
    f.seaFloorMs = segy.text("seaFloorMs").toStdString();
    f.length = choiceNamed(segy, "length", LengthNames, f.length);
    f.lengthMs = segy.text("lengthMs").toStdString();
    return f;
}

QJsonObject scalesToJson(const SessionScales& s) {
    return {{"autoVelocity", s.autoVelocity}, {"minVelocity", s.minVelocity},
            {"maxVelocity", s.maxVelocity},   {"autoDensity", s.autoDensity},
            {"minDensity", s.minDensity},     {"maxDensity", s.maxDensity}};
}

SessionScales scalesFromJson(const Reader& scales) {
    SessionScales s;
    s.autoVelocity = scales.flag("autoVelocity", s.autoVelocity);
    s.minVelocity = scales.wholeNumber("minVelocity", s.minVelocity);
    s.maxVelocity = scales.wholeNumber("maxVelocity", s.maxVelocity);
    s.autoDensity = scales.flag("autoDensity", s.autoDensity);
    s.minDensity = scales.wholeNumber("minDensity", s.minDensity);
    s.maxDensity = scales.wholeNumber("maxDensity", s.maxDensity);
    return s;
}

// The panels' keys, in the order of SessionPanels.
constexpr std::array<const char*, 5> PanelKeys{"photo", "synthetic", "trace", "velocity",
                                               "density"};

std::array<std::optional<bool>*, 5> panelTicks(SessionPanels& p) {
    return {&p.photo, &p.synthetic, &p.trace, &p.velocity, &p.density};
}

QJsonObject panelsToJson(SessionPanels panels) {
    QJsonObject object{{"correlator", panels.correlator}, {"fitCore", panels.fitCore}};
    const auto ticks = panelTicks(panels);
    for (std::size_t i = 0; i < PanelKeys.size(); ++i) {
        if (*ticks[i]) {
            object.insert(QLatin1String(PanelKeys[i]), **ticks[i]);
        }
    }
    return object;
}

SessionPanels panelsFromJson(const Reader& reader) {
    SessionPanels panels;
    const auto ticks = panelTicks(panels);
    for (std::size_t i = 0; i < PanelKeys.size(); ++i) {
        if (reader.has(PanelKeys[i])) {
            *ticks[i] = reader.flag(PanelKeys[i]);
        }
    }
    panels.correlator = reader.flag("correlator");
    panels.fitCore = reader.flag("fitCore", true);
    return panels;
}

// The first version kept what the windows' fields showed, by the fields'
// names; they are read here into the settings they stood for, and nowhere
// else.
namespace first_version {

bool flag(const Reader& reader, const QMap<QString, QString>& texts, const char* key, bool absent) {
    if (!texts.contains(QLatin1String(key))) {
        return absent;
    }
    const QString text = texts.value(QLatin1String(key));
    if (text != QLatin1String("true") && text != QLatin1String("false")) {
        reader.refuseValue(key, QStringLiteral("\"true\" or \"false\""));
    }
    return text == QLatin1String("true");
}

int whole(const Reader& reader, const QMap<QString, QString>& texts, const char* key, int absent) {
    if (!texts.contains(QLatin1String(key))) {
        return absent;
    }
    bool ok = false;
    const int value = texts.value(QLatin1String(key)).trimmed().toInt(&ok);
    if (!ok) {
        reader.refuseValue(key, QStringLiteral("a whole number"));
    }
    return value;
}

std::string text(const QMap<QString, QString>& texts, const char* key, std::string absent) {
    return texts.contains(QLatin1String(key)) ? texts.value(QLatin1String(key)).toStdString()
                                              : absent;
}

// The item of a list box, by the start of its caption.
template <class Choice>
Choice item(const Reader& reader, const QMap<QString, QString>& texts, const char* key,
            const std::vector<std::pair<const char*, Choice>>& captions, Choice absent) {
    if (!texts.contains(QLatin1String(key))) {
        return absent;
    }
    const QString caption = texts.value(QLatin1String(key));
    for (const auto& [start, choice] : captions) {
        if (caption.startsWith(QLatin1String(start))) {
            return choice;
        }
    }
    reader.refuseValue(key, QStringLiteral("an item of the list"));
}

SegyChoiceFields segy(const Reader& trace) {
    const Reader reader = trace.group("segy");
    const QMap<QString, QString> t = trace.textMap("segy");
    SegyChoiceFields f;
    f.kind = item<TraceChoiceKind>(reader, t, "ChoiceBox",
                                   {{"Trace index", TraceChoiceKind::Index},
                                    {"Field record", TraceChoiceKind::Shot},
                                    {"Nearest position", TraceChoiceKind::Near}},
                                   f.kind);
    f.number = text(t, "NumberEdit", f.number);
    f.x = text(t, "NearXEdit", {});
    f.y = text(t, "NearYEdit", {});
    if (t.contains("ChannelBox")) {
        QMap<QString, QString> number{{"ChannelBox", t.value("ChannelBox").mid(8)}};
        f.channel = std::max(0, whole(reader, number, "ChannelBox", 1) - 1);
    }
    f.stack = whole(reader, t, "StackSpin", 0);
    f.intervalMs = text(t, "IntervalEdit", {});
    f.seaFloor = item<SeaFloorMode>(reader, t, "SeaFloorBox",
                                    {{"Do not cut", SeaFloorMode::Keep},
                                     {"Automatic pick", SeaFloorMode::Auto},
                                     {"At time", SeaFloorMode::AtTime}},
                                    f.seaFloor);
    f.seaFloorMs = text(t, "SeaFloorEdit", {});
    f.length = item<LengthMode>(reader, t, "LengthBox",
                                {{"Whole trace", LengthMode::Whole},
                                 {"Synthetic span", LengthMode::Synthetic},
                                 {"Log two-way time", LengthMode::LogTwt},
                                 {"Given", LengthMode::Given}},
                                f.length);
    f.lengthMs = text(t, "LengthEdit", {});
    return f;
}

void settings(const Reader& root, Session& session) {
    const Reader fields = root.group("fields");
    const auto window = [&](const char* name) { return fields.textMap(name); };
    const QMap<QString, QString> velocity = window("VelScaleForm");
    const QMap<QString, QString> density = window("DensityScaleForm");
    const QMap<QString, QString> graph = window("GraphForm");
    SessionScales& s = session.scales;
    const Reader v = fields.group("VelScaleForm");
    const Reader d = fields.group("DensityScaleForm");
    s.autoVelocity = flag(v, velocity, "Autovel", s.autoVelocity);
    s.minVelocity = whole(v, velocity, "MinVel", s.minVelocity);
    s.maxVelocity = whole(v, velocity, "Maxvel", s.maxVelocity);
    s.autoDensity = flag(d, density, "autodens", s.autoDensity);
    s.minDensity = whole(d, density, "MinDens", s.minDensity);
    s.maxDensity = whole(d, density, "MaxDens", s.maxDensity);
    const char* edits[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
    for (qsizetype i = 0; i < session.axisTexts.size(); ++i) {
        if (graph.contains(QLatin1String(edits[i]))) {
            session.axisTexts[i] = graph.value(QLatin1String(edits[i]));
        }
    }
    const QMap<QString, bool> boxes = root.flagMap("checkBoxes");
    const char* names[] = {"Photo", "Synth", "Trace", "Pwave", "density"};
    const auto ticks = panelTicks(session.panels);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (boxes.contains(QLatin1String(names[i]))) {
            *ticks[i] = boxes.value(QLatin1String(names[i]));
        }
    }
    session.panels.correlator = root.flag("correlator");
    // Sessions from before the choice existed had it on.
    session.panels.fitCore = root.group("photograph").flag("fitCore", true);
    if (root.group("trace").has("segy")) {
        session.segy = segy(root.group("trace"));
    }
}

} // namespace first_version

} // namespace

QList<SessionTiePoint> tiePointsOnPhotograph(const QList<SessionTiePoint>& points, int rows,
                                             QStringList& problems) {
    QList<SessionTiePoint> kept;
    for (const SessionTiePoint& point : points) {
        if (point.row >= 0 && point.row < rows) {
            kept.append(point);
        } else if (rows > 0) {
            problems.append(QStringLiteral("The tie point at row %1 lies outside the photograph "
                                           "(rows 0 to %2); it was left out")
                                .arg(point.row)
                                .arg(rows - 1));
        } else {
            problems.append(QStringLiteral("The tie point at row %1 has no photograph to lie on; "
                                           "it was left out")
                                .arg(point.row));
        }
    }
    return kept;
}

bool operator==(const SegyChoiceFields& a, const SegyChoiceFields& b) {
    return a.kind == b.kind && a.number == b.number && a.x == b.x && a.y == b.y &&
           a.channel == b.channel && a.stack == b.stack && a.intervalMs == b.intervalMs &&
           a.seaFloor == b.seaFloor && a.seaFloorMs == b.seaFloorMs && a.length == b.length &&
           a.lengthMs == b.lengthMs;
}

// Every key of the file is written here and read in sessionFromJson: a new
// setting goes into both.
QByteArray sessionToJson(const Session& session, const QString& sessionDir) {
    const QDir base(sessionDir);
    QJsonObject photograph{{"file", storedPath(session.photograph, base)}};
    if (!session.boundaries.isEmpty()) {
        photograph.insert("boundaries", storedPath(session.boundaries, base));
    }
    if (!session.calibration.isEmpty()) {
        photograph.insert("calibration", toArray(session.calibration));
    }
    QJsonObject chirp{{"go", session.chirpGo}};
    if (!session.chirpTexts.isEmpty()) {
        chirp.insert("texts", toArray(session.chirpTexts));
    }
    QJsonObject trace{{"file", storedPath(session.trace, base)}};
    if (session.segy) {
        trace.insert("segy", segyToJson(*session.segy));
    }
    QJsonObject log{{"file", storedPath(session.log, base)},
                    {"interpolated", session.interpolated}};
    if (!session.logImport.empty()) {
        log.insert("import", importToJson(session.logImport));
    }
    const QStringList& axis = session.axisTexts;
    QJsonObject root{
        {"format", FormatName},
        {"version", FormatVersion},
        {"photograph", photograph},
        {"log", log},
        {"chirp", chirp},
        {"synthetic", session.synthetic},
        {"timeZero", session.seaFloorTimeZero ? SeaFloor : Strongest},
        {"antiAliased", session.antiAliased},
        {"trace", trace},
        {"scales", scalesToJson(session.scales)},
        {"axis", QJsonObject{{"xMarkFreq", axis.value(0)},
                             {"xLabelFreq", axis.value(1)},
                             {"yMarkFreq", axis.value(2)},
                             {"yLabelFreq", axis.value(3)}}},
        {"annotationFont", session.annotationFont},
        {"finalPlot", QJsonObject{{"tiedSynthetic", session.tiedSynthetic},
                                  {"sectionExcerpt", session.sectionExcerpt},
                                  {"sectionTraces", session.sectionTraces}}},
        {"panels", panelsToJson(session.panels)},
        {"tiePoints", tiePointsToJson(session.tiePoints)},
    };
    if (session.corePosition) {
        root.insert("corePosition",
                    QJsonObject{{"x", session.corePosition->x}, {"y", session.corePosition->y}});
    }
    if (!session.acceptedTies.isEmpty() || !session.relation.isEmpty()) {
        root.insert("depthVarying",
                    QJsonObject{{"acceptedTies", depthTimesToJson(session.acceptedTies)},
                                {"relation", depthTimesToJson(session.relation)}});
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Session sessionFromJson(const QByteArray& text, const QString& sessionDir) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (document.isNull()) {
        refuse(QStringLiteral("%1 at character %2").arg(error.errorString()).arg(error.offset));
    }
    if (!document.isObject() ||
        document.object().value("format").toString() != QLatin1String(FormatName)) {
        refuse(QStringLiteral("it does not say \"format\": \"%1\"").arg(FormatName));
    }
    const int version = checkVersion(document.object().value("version"));
    const Reader root(document.object(), {});
    const QDir base(sessionDir);
    Session session;
    const Reader photograph = root.group("photograph");
    session.photograph = loadedPath(photograph.text("file"), base);
    session.boundaries = loadedPath(photograph.text("boundaries"), base);
    session.calibration = photograph.texts("calibration", 8);
    const Reader log = root.group("log");
    session.log = loadedPath(log.text("file"), base);
    session.interpolated = log.flag("interpolated");
    session.logImport = importFromJson(log.group("import"));
    const Reader chirp = root.group("chirp");
    session.chirpTexts = chirp.texts("texts", 4);
    session.chirpGo = chirp.flag("go");
    session.synthetic = root.flag("synthetic");
    const QString timeZero = root.text("timeZero");
    if (!timeZero.isEmpty() && timeZero != QLatin1String(SeaFloor) &&
        timeZero != QLatin1String(Strongest)) {
        refuse(QStringLiteral("\"timeZero\" should be \"%1\" or \"%2\"").arg(SeaFloor, Strongest));
    }
    session.seaFloorTimeZero = timeZero == QLatin1String(SeaFloor);
    session.antiAliased = root.flag("antiAliased");
    const Reader trace = root.group("trace");
    session.trace = loadedPath(trace.text("file"), base);
    session.annotationFont = root.text("annotationFont");
    session.tiePoints = tiePointsFromJson(root);
    if (version == 1) {
        first_version::settings(root, session);
        return session;
    }
    if (trace.has("segy")) {
        session.segy = segyFromJson(trace.group("segy"));
    }
    session.scales = scalesFromJson(root.group("scales"));
    const Reader axis = root.group("axis");
    const char* axisKeys[] = {"xMarkFreq", "xLabelFreq", "yMarkFreq", "yLabelFreq"};
    for (qsizetype i = 0; i < session.axisTexts.size(); ++i) {
        if (axis.has(axisKeys[i])) {
            session.axisTexts[i] = axis.text(axisKeys[i]);
        }
    }
    session.panels = panelsFromJson(root.group("panels"));
    if (root.has("corePosition")) {
        const Reader position = root.group("corePosition");
        const auto coordinate = [&position](const char* key) {
            const std::optional<double> value = position.number(key);
            if (!value) {
                position.refuseValue(key, "a number");
            }
            return *value;
        };
        session.corePosition = CorePosition{coordinate("x"), coordinate("y")};
    }
    // Sessions written before the final plot's additions have no such group.
    const Reader finalPlot = root.group("finalPlot");
    session.tiedSynthetic = finalPlot.flag("tiedSynthetic");
    session.sectionExcerpt = finalPlot.flag("sectionExcerpt");
    if (finalPlot.has("sectionTraces")) {
        session.sectionTraces = finalPlot.text("sectionTraces");
    }
    const Reader depthVarying = root.group("depthVarying");
    session.acceptedTies = depthTimesFromJson(depthVarying, "acceptedTies");
    session.relation = depthTimesFromJson(depthVarying, "relation");
    return session;
}

Session readSessionFile(const QString& path) {
    // A pipe or a device would block the open, or never end.
    requireRegularFile(path.toStdString());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throwCannotOpen(path.toStdString(), file.errorString().toStdString());
    }
    if (file.size() > MaxSessionBytes) {
        refuse(QStringLiteral("\"%1\" is not a Quarvel session: it is larger than %2 bytes.")
                   .arg(path)
                   .arg(MaxSessionBytes));
    }
    const QByteArray text = file.read(MaxSessionBytes + 1);
    try {
        return sessionFromJson(text, QFileInfo(path).absolutePath());
    } catch (const QuarvelError& e) {
        refuse(QStringLiteral("\"%1\" is not a Quarvel session: %2.")
                   .arg(path, QString::fromStdString(e.what())));
    }
}

void writeSessionFile(const Session& session, const QString& path) {
    QSaveFile file(path);
    const QByteArray text = sessionToJson(session, QFileInfo(path).absolutePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        throwCannotCreate(path.toStdString(), file.errorString().toStdString());
    }
}

} // namespace quarvel
