#include "platform/guarded_application.h"

#include "platform/canvas.h"
#include "platform/error_reporter.h"

#include <QtGlobal>
#include <clocale>
#include <exception>

namespace quarvel {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // QApplication has just set the C library's locale from the environment;
    // numbers must keep "." as their decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    // Every window is laid out for this font's widths.
    setFont(layoutFont());
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        message = QString::fromStdString(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    if (reporter_ != nullptr) {
        reporter_->report(message);
    } else {
        qWarning("Unhandled error: %s", qPrintable(message));
    }
    return false;
}

} // namespace quarvel
