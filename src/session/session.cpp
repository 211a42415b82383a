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
constexpr int FormatVersion = 1;
// A session is a page of text; anything far larger is not one, and reading it
// whole would only waste memory.
constexpr qint64 MaxSessionBytes = 1 << 20;

[[noreturn]] void refuse(const QString& why) {
    throw QuarvelError(why.toStdString());
}

// A session of a later version may hold what this one would drop when the
// session is saved again, so it is not opened at all. A session without a
// version is read as the first.
void checkVersion(const QJsonValue& version) {
    if (version.isUndefined()) {
        return;
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

QJsonObject toObject(const QMap<QString, QString>& texts) {
    QJsonObject object;
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        object.insert(it.key(), it.value());
    }
    return object;
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

    int wholeNumber(const char* key) const {
        const double value = number(key).value_or(0.0);
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

constexpr auto SeaFloor = "sea-floor";
constexpr auto Strongest = "strongest";

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

QByteArray sessionToJson(const Session& session, const QString& sessionDir) {
    const QDir base(sessionDir);
    QJsonObject photograph{{"file", storedPath(session.photograph, base)},
                           {"fitCore", session.fitCore}};
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
    if (!session.segyFields.isEmpty()) {
        trace.insert("segy", toObject(session.segyFields));
    }
    QJsonObject fields;
    for (auto it = session.fields.begin(); it != session.fields.end(); ++it) {
        fields.insert(it.key(), toObject(it.value()));
    }
    QJsonObject checkBoxes;
    for (auto it = session.checkBoxes.begin(); it != session.checkBoxes.end(); ++it) {
        checkBoxes.insert(it.key(), it.value());
    }
    QJsonObject log{{"file", storedPath(session.log, base)},
                    {"interpolated", session.interpolated}};
    if (!session.logImport.empty()) {
        log.insert("import", importToJson(session.logImport));
    }
    const QJsonObject root{
        {"format", FormatName},
        {"version", FormatVersion},
        {"photograph", photograph},
        {"log", log},
        {"chirp", chirp},
        {"synthetic", session.synthetic},
        {"timeZero", session.seaFloorTimeZero ? SeaFloor : Strongest},
        {"antiAliased", session.antiAliased},
        {"trace", trace},
        {"fields", fields},
        {"annotationFont", session.annotationFont},
        {"checkBoxes", checkBoxes},
        {"correlator", session.correlator},
        {"tiePoints", tiePointsToJson(session.tiePoints)},
    };
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
    checkVersion(document.object().value("version"));
    const Reader root(document.object(), {});
    const QDir base(sessionDir);
    Session session;
    const Reader photograph = root.group("photograph");
    session.photograph = loadedPath(photograph.text("file"), base);
    session.boundaries = loadedPath(photograph.text("boundaries"), base);
    session.calibration = photograph.texts("calibration", 8);
    // Sessions from before the choice existed had it on.
    session.fitCore = photograph.flag("fitCore", true);
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
    session.segyFields = trace.textMap("segy");
    const QJsonObject fields = root.object("fields");
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const QString window = it.key();
        session.fields.insert(window,
                              Reader(fields, "fields.").textMap(window.toUtf8().constData()));
    }
    session.annotationFont = root.text("annotationFont");
    session.checkBoxes = root.flagMap("checkBoxes");
    session.correlator = root.flag("correlator");
    session.tiePoints = tiePointsFromJson(root);
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
