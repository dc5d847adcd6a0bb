#include "app/output_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <ostream>

#include "platform/qt/qt_convert.h"

namespace tarvela {

namespace {

bool WriteToStream(std::ostream& out, const DeviceWriter& write) {
  // Collected first: a failing encoder must not leave half a picture on the stream.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!write(buffer)) return false;
  out.write(bytes.constData(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

bool WriteInPlace(const QString& path, const DeviceWriter& write) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const bool written = write(file);
  // A failed write is remembered only until a close that goes well forgets it, so the
  // error is read before closing; buffered bytes reach the device at the flush.
  const bool flushed = file.flush();
  const bool clean = file.error() == QFileDevice::NoError;
  file.close();
  return written && flushed && clean && file.error() == QFileDevice::NoError;
}

bool WriteBesideAndRename(const QString& path, const DeviceWriter& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!write(file)) {
    file.cancelWriting();
    file.commit();  // removes the temporary file and leaves the target alone
    return false;
  }
  // Fails, and removes the temporary file, when any write or the flush failed.
  return file.commit();
}

}  // namespace

bool WriteOutput(const std::string& target, std::ostream& out, const DeviceWriter& write) {
  if (target == "-") return WriteToStream(out, write);
  const QString path = ToQString(target);
  const QFileInfo info(path);
  if (info.exists() && !info.isFile() && !info.isDir()) return WriteInPlace(path, write);
  return WriteBesideAndRename(path, write);
}

DeviceWriter BytesWriter(const std::string& bytes) {
  return [&bytes](QIODevice& device) {
    return device.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  };
}

std::string OutputName(const std::string& target) { return target == "-" ? "standard output" : target; }

}  // namespace tarvela
