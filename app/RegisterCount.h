#pragma once
// How many aircraft and engine types the register holds, for the commands that need at least
// one. (The register library will offer the same counts; these read the settings directly.)
namespace tolm {

// Child keys of the settings group "AircraftInfo".
int aircraftCount();
// Top-level settings keys whose name begins with "EngineType_".
int engineTypeCount();

}  // namespace tolm
