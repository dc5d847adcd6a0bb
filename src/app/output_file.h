#pragma once
// Where the command line's outputs go: standard output for "-", else a file that is
// written whole or not at all. The user keeps these files, so a full disk, a vanished
// folder or a failing encoder must never leave a cut-off file that looks complete, nor
// destroy the one that was there.

#include <QIODevice>
#include <functional>
#include <iosfwd>
#include <string>

namespace tarvela {

// Puts an output's bytes on the device; false when it could not (a failed encoder,
// a failed write).
using DeviceWriter = std::function<bool(QIODevice&)>;

// Writes what write produces to target:
// - "-": to out, as one block, then flushed;
// - a regular file, or a name that does not exist yet: to a temporary file in the same
//   folder, renamed over target only when every write and the close succeeded, so a
//   failure leaves an existing file as it was and nothing else behind; an existing
//   file keeps its permissions;
// - anything else that exists (a device such as /dev/stdout or /dev/full, a pipe): in
//   place, since renaming over it would replace the device itself.
// False on any failure.
bool WriteOutput(const std::string& target, std::ostream& out, const DeviceWriter& write);

// A writer that puts bytes on the device, whole.
DeviceWriter BytesWriter(const std::string& bytes);

// How a failure of WriteOutput is named to the user: "standard output" for "-".
std::string OutputName(const std::string& target);

}  // namespace tarvela
