// Session files: any text is either read as a session, which then writes and
// reads back the same, or refused with the program's message.
#include "formats/quarvel_error.h"
#include "session/session.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString folder = QStringLiteral("/cores");
    try {
        const quarvel::Session session = quarvel::sessionFromJson(text, folder);
        if (quarvel::sessionFromJson(quarvel::sessionToJson(session, folder), folder) != session) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // Not a session, or one of a later version: refused with a message.
    }
    return 0;
}
