#pragma once
/// Where outputs go: standard output for "-", else a file that is written whole or not
/// at all. The user keeps these files, so a full disk, a vanished folder or a failing
/// encoder must never leave a cut-off file that looks complete, nor destroy the one that
/// was there.
///
/// Names are the file system's own bytes, passed through untouched: a name that is not
/// valid UTF-8 reaches the file the user named, not one with replacement characters.
/// @file
#include <QIODevice>
#include <functional>
#include <iosfwd>
#include <string>

namespace tarvela {

/// Puts an output's bytes on the device; false when it could not (a failed encoder,
/// a failed write).
using DeviceWriter = std::function<bool(QIODevice&)>;

/// Writes what write produces to target:
/// - "-": to out, as one block, then flushed;
/// - a regular file, or a name that does not exist yet: to a temporary file in the same
///   folder, renamed over target only when every write, the sync and the close
///   succeeded, so a failure (an exception from write included) leaves an existing file
///   as it was and nothing else behind; an existing file keeps its permissions, and a
///   symbolic link keeps pointing at the file it names, which is the one replaced;
/// - anything else that exists (a device such as /dev/stdout or /dev/full, a pipe): in
///   place, since renaming over it would replace the device itself.
/// False on any failure, with why in reason when given ("No such file or directory").
bool WriteOutput(const std::string& target, std::ostream& out, const DeviceWriter& write,
                 std::string* reason = nullptr);

/// Makes the folder and any missing parents; false with why in reason.
bool MakeFolders(const std::string& path, std::string* reason = nullptr);

/// The file or folder a symbolic link names, followed to its end (also when that does not
/// exist yet), so that what is replaced is what the link names and the link survives; the
/// name itself for anything else.
std::string FollowLinks(const std::string& path);

/// A writer that puts bytes on the device, whole.
DeviceWriter BytesWriter(const std::string& bytes);

/// How a target is named to the user: "standard output" for "-", else its bytes as given.
std::string OutputName(const std::string& target);

/// "cannot write to NAME: reason", the message for a failed output.
std::string CannotWriteMessage(const std::string& target, const std::string& reason);

}  // namespace tarvela
