#pragma once
// The start marker: a 4-byte file holding the process id of the running instance, so that a
// second start can end the first and take its place.
#include <cstdint>
#include <string>

namespace shell {

constexpr char kStartMarkerName[] = "Kestrivalume.startpid";

// The id in a marker's bytes: little-endian, missing high bytes taken as 0, extra bytes ignored.
std::int32_t MarkerProcessId(const std::string& bytes);
std::string MarkerBytes(std::uint32_t process_id);

// Ends the instance the marker in the data folder names (exit code 1), but only when that
// process runs an executable with this program's file name: a recycled id must never end
// another program. Then writes our own id into the marker. Every failure is silent.
void ReplaceEarlierInstance(const std::string& data_folder, const std::string& program_path);

}  // namespace shell
