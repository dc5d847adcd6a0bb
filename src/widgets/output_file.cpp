#include "tarvela/widgets/output_file.h"

#include <QBuffer>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarvela {

namespace {

std::string ErrorText(int error) { return std::strerror(error); }

void SetReason(std::string* reason, const std::string& text) {
  if (reason != nullptr) *reason = text;
}

// The writer said no without the device saying why: an encoder gave up.
const char* const kWriterFailed = "the data could not be encoded";

bool WriteToStream(std::ostream& out, const DeviceWriter& write, std::string* reason) {
  // Collected first: a failing encoder must not leave half a picture on the stream.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!write(buffer)) {
    SetReason(reason, kWriterFailed);
    return false;
  }
  // Standard output's stream writes through the C library, which leaves the system's
  // reason in errno; a stream of another kind gives none.
  errno = 0;
  out.write(bytes.constData(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (out) return true;
  SetReason(reason, errno != 0 ? ErrorText(errno) : std::string("write error"));
  return false;
}

// Writes through a QFile on fd, which the caller closes; false with the reason.
bool WriteToDescriptor(int fd, const DeviceWriter& write, std::string* reason) {
  QFile file;
  if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
    SetReason(reason, file.errorString().toStdString());
    return false;
  }
  const bool written = write(file);
  // A failed write is remembered only until a close that goes well forgets it, so the
  // error is read before closing; buffered bytes reach the device at the flush.
  const bool flushed = file.flush();
  if (file.error() != QFileDevice::NoError || !flushed) {
    SetReason(reason, file.errorString().toStdString());
    return false;
  }
  if (!written) {
    SetReason(reason, kWriterFailed);
    return false;
  }
  return true;
}

bool CloseChecked(int fd, std::string* reason) {
  if (::close(fd) == 0) return true;
  SetReason(reason, ErrorText(errno));
  return false;
}

bool WriteInPlace(const std::string& path, const DeviceWriter& write, std::string* reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    SetReason(reason, ErrorText(errno));
    return false;
  }
  bool written = false;
  try {
    written = WriteToDescriptor(fd, write, reason);
  } catch (...) {
    ::close(fd);
    throw;
  }
  const bool closed = CloseChecked(fd, written ? reason : nullptr);
  return written && closed;
}

// The temporary file beside the target: removed unless it has been renamed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : m_name(target + ".XXXXXX") {
    std::vector<char> name(m_name.begin(), m_name.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd >= 0) m_name.assign(name.data());
  }
  ~TemporaryFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_exists) ::unlink(m_name.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Fd() const { return m_fd; }
  const std::string& Name() const { return m_name; }
  bool Close(std::string* reason) {
    const int fd = m_fd;
    m_fd = -1;
    return CloseChecked(fd, reason);
  }
  void Renamed() { m_exists = false; }
  void Created() { m_exists = true; }

 private:
  std::string m_name;
  int m_fd = -1;
  bool m_exists = false;
};

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteBesideAndRename(const std::string& path, const struct stat* existing, const DeviceWriter& write,
                          std::string* reason) {
  TemporaryFile temporary(path);
  if (temporary.Fd() < 0) {
    SetReason(reason, ErrorText(errno));
    return false;
  }
  temporary.Created();
  // mkstemp makes the file private; the result gets the permissions the target had,
  // or those a new file gets.
  if (::fchmod(temporary.Fd(), existing != nullptr ? existing->st_mode & 07777 : NewFileMode()) != 0) {
    SetReason(reason, ErrorText(errno));
    return false;
  }
  if (!WriteToDescriptor(temporary.Fd(), write, reason)) return false;
  // On the disk before the name moves, so that a crash leaves the old file or the new one.
  if (::fsync(temporary.Fd()) != 0) {
    SetReason(reason, ErrorText(errno));
    return false;
  }
  if (!temporary.Close(reason)) return false;
  if (::rename(temporary.Name().c_str(), path.c_str()) != 0) {
    SetReason(reason, ErrorText(errno));
    return false;
  }
  temporary.Renamed();
  return true;
}

}  // namespace

bool WriteOutput(const std::string& target, std::ostream& out, const DeviceWriter& write, std::string* reason) {
  if (target == "-") return WriteToStream(out, write, reason);
  const std::string path = FollowLinks(target);
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT) {
      SetReason(reason, ErrorText(errno));
      return false;
    }
    return WriteBesideAndRename(path, nullptr, write, reason);
  }
  if (S_ISDIR(info.st_mode)) {
    SetReason(reason, ErrorText(EISDIR));
    return false;
  }
  if (!S_ISREG(info.st_mode)) return WriteInPlace(path, write, reason);
  return WriteBesideAndRename(path, &info, write, reason);
}

bool MakeFolders(const std::string& path, std::string* reason) {
  // Each parent in turn, as mkdir -p does; one that exists already is fine.
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string part = path.substr(0, end);
    if (!part.empty() && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      SetReason(reason, ErrorText(errno));
      return false;
    }
    if (end == std::string::npos) break;
  }
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) {
    SetReason(reason, ErrorText(errno));
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    SetReason(reason, ErrorText(ENOTDIR));
    return false;
  }
  return true;
}

std::string FollowLinks(const std::string& path) {
  std::string name = path;
  // The system's own bound on a chain of links; a loop ends at it.
  for (int depth = 0; depth < 40; ++depth) {
    struct stat link;
    if (::lstat(name.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return name;
    std::vector<char> target(static_cast<std::size_t>(link.st_size > 0 ? link.st_size : 4096) + 1);
    const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return name;
    const std::string next(target.data(), static_cast<std::size_t>(length));
    const std::size_t slash = name.rfind('/');
    name = next.front() == '/' || slash == std::string::npos ? next : name.substr(0, slash + 1) + next;
  }
  return name;
}

DeviceWriter BytesWriter(const std::string& bytes) {
  return [&bytes](QIODevice& device) {
    return device.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  };
}

std::string OutputName(const std::string& target) { return target == "-" ? "standard output" : target; }

std::string CannotWriteMessage(const std::string& target, const std::string& reason) {
  return "cannot write to " + OutputName(target) + ": " + reason;
}

}  // namespace tarvela
