#include "tarvela/widgets/png_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "tarvela/chart/chart.h"
#include "tarvela/widgets/chart_file.h"
#include "tarvela/widgets/chart_picture.h"

namespace tarvela {
namespace {

QImage ReadBack(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "PNG");
  return reader.read();
}

QByteArray Written(const QImage& image) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(WritePng(image, buffer));
  return buffer.data();
}

// Takes the first bytes, then refuses.
class FullDevice : public QIODevice {
 public:
  explicit FullDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 length) override {
    if (length > m_room) return -1;
    m_room -= length;
    return length;
  }

 private:
  qint64 m_room;
};

// A 3D pie with its legend: the same pixels read back by Qt's reader, the
// resolution kept, fewer bytes than Qt's own writer gives, and a device that fills up
// is a failure, not a crash or a message.
TEST(PngFile, ChartsReadBackPixelForPixelInFewerBytes) {
  TChartForm form(nullptr, ReadChartFileText(TARVELA_EXAMPLES_DIR "/pie.chart"), "");
  for (const int scale : {1, 2}) {
    const QImage picture = RenderChartImage(form.Chart(), std::nullopt, scale);
    const QByteArray bytes = Written(picture);
    const QImage back = ReadBack(bytes);
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(back.dotsPerMeterX(), picture.dotsPerMeterX());
    EXPECT_EQ(back.dotsPerMeterY(), picture.dotsPerMeterY());
    QBuffer qt;
    qt.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&qt, "PNG"));
    EXPECT_LT(bytes.size(), qt.data().size());

    for (const qint64 room : {qint64{0}, qint64{40}, qint64{bytes.size() / 2}}) {
      FullDevice full(room);
      EXPECT_FALSE(WritePng(picture, full)) << room;
    }
  }
}

TEST(PngFile, TranslucentPixelsKeepTheirAlpha) {
  QImage image(7, 5, QImage::Format_ARGB32);
  image.fill(qRgba(10, 200, 30, 255));
  image.setPixel(3, 2, qRgba(40, 50, 60, 128));
  const QImage back = ReadBack(Written(image)).convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(back, image);
  // Opaque in a format with alpha: the colours, without an alpha channel to carry.
  image.setPixel(3, 2, qRgba(40, 50, 60, 255));
  const QImage opaque = ReadBack(Written(image));
  EXPECT_FALSE(opaque.hasAlphaChannel());
  EXPECT_EQ(opaque.convertToFormat(QImage::Format_ARGB32), image);
}

}  // namespace
}  // namespace tarvela
