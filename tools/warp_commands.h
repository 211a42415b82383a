#pragma once

#include "chirp/chirp_source.h"
#include "platform/work_dir.h"
#include "tie/tie_measure.h"

#include <ostream>
#include <string>

// quarvel-synth tie --depth-varying: after the bulk tie, the synthetic
// stretched and squeezed onto the trace, whether that freedom was earned,
// and the time-depth relation it gives.
namespace quarvel::tools {

struct DepthVaryingTexts {
    std::string enabled;              // "yes" with --depth-varying
    std::string velocityLimit = "25"; // % of the bulk tie's interval velocity
    std::string tdrOut;               // CSV file for the relation; empty: none
    std::string logOut;               // LAS file for the log the relation gives; empty: none
    std::string apply;                // "yes": log.dat's velocities from the relation
};

// Refuses, before the bulk tie is measured, a velocity limit out of range
// and --log-out without --depth-varying.
void checkDepthVarying(const DepthVaryingTexts& texts);

// Aligns the tie's synthetic of log.dat at the bulk tie's factor onto the
// trace (default trace.txt) from the bulk shift, with the bulk tie's
// surrogate count, seed and level; prints the depth-varying keys and writes
// the relation and the corrected log when asked. With --apply, rewrites
// log.dat's velocities so that every interval's two-way time is the
// relation's (whole or not at all) and prints the coefficient of the log at
// its best shift before and after.
void printDepthVaryingTie(const WorkDir& dir, const ChirpTexts& chirp, const std::string& trace,
                          const tie::TieMeasurement& bulk, const DepthVaryingTexts& texts,
                          std::ostream& out, std::ostream& err);

} // namespace quarvel::tools
