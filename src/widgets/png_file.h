#pragma once
/// Pictures as PNG files, written with the settings that suit charts.
/// @file
#include <QIODevice>
#include <QImage>

namespace tarvela {

/// The image as an 8-bit RGB PNG that keeps its resolution, when it is opaque; an image
/// with translucent pixels as Qt writes it. False when the device did not take all of it.
bool WritePng(const QImage& image, QIODevice& device);

}  // namespace tarvela
