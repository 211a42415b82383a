#pragma once

#include "formats/quarvel_error.h"

#include <optional>

namespace quarvel::testing {

// The kind of the QuarvelError a call throws, or nothing when it throws none:
// tests check what went wrong by kind, and the text only where it is the point.
template <class Call> std::optional<ErrorKind> thrownKind(Call&& call) {
    try {
        call();
    } catch (const QuarvelError& e) {
        return e.kind();
    }
    return std::nullopt;
}

} // namespace quarvel::testing
