#pragma once
/// CosmeticOutline lays out the outline of a closed integer polygon pixel by pixel exactly
/// as Qt's raster engine strokes it with a cosmetic (width 0) pen without antialiasing,
/// dash pattern included, so that QtSurface can write polygon outlines straight into
/// image memory with the pixels QPainter would set.
///
/// It also lays out a closed path of lines and cubic curves (a pie's outline), curves
/// flattened as the raster engine flattens them for such a pen.
///
/// It only computes pixels; it is not a general stroker (no open paths, caps, wider pens
/// or transforms). See cosmetic_outline.cpp for the rules it follows.
/// @file
#include <QList>
#include <QPoint>
#include <QRect>
#include <climits>
#include <memory>
#include <span>
#include <vector>

#include "tarvela/platform/surface_types.h"

namespace tarvela {

class CosmeticOutline {
 public:
  /// The device's rectangle matters to the layout: lines are cut one pixel outside it
  /// before they are stepped. Dash lengths in pixels, empty for a solid pen.
  CosmeticOutline(const QRect& device, const QList<qreal>& dashes);

  // settings
  bool Dashed() const { return m_patternLength > 0; }

  // operations
  /// Lays out the outline of the polygon (closed back to its first point).
  void Stroke(std::span<const TPoint> points);

  /// A point of a path, as QPainterPath keeps them: a move starts the path, a line runs
  /// to its point, a curve takes three (two control points, then its end).
  struct PathPoint {
    enum Kind { kMove, kLine, kCurve, kCurveData };
    double x = 0;
    double y = 0;
    Kind kind = kLine;
  };
  /// Lays out one subpath: a move, then lines and curves. Closed when it ends on its
  /// first point.
  void StrokePath(std::span<const PathPoint> path);

  /// The pixels in stroking order; with a dash pattern, whether the dash is on at each
  /// (without one every pixel is on). Pixels may lie one outside the device.
  std::span<const QPoint> Pixels() const { return {m_pixels.get(), m_count}; }
  const std::vector<char>& On() const { return m_on; }

 private:
  enum Direction { kNoDirection = 0, kTopToBottom = 1, kBottomToTop = 2, kLeftToRight = 4, kRightToLeft = 8 };
  static constexpr int kVertical = kTopToBottom | kBottomToTop;
  static constexpr int kHorizontal = kLeftToRight | kRightToLeft;
  struct Pixel {
    int x = INT_MIN;
    int y = INT_MIN;
  };
  class Dasher;

  bool ClipLine(double& x1, double& y1, double& x2, double& y2);
  void CalculateLastPoint(double rx1, double ry1, double rx2, double ry2);
  bool DrawLine(double rx1, double ry1, double rx2, double ry2);
  static constexpr int kCurveLevels = 6;
  struct CurvePoint {
    double x, y;
  };
  /// The curve from points[3] to points[0] (controls 2, 1) as lines, halved while it
  /// bends away from its chord, at most level times.
  void DrawCurve(CurvePoint* points, int level);
  /// Room for count more pixels, written in order from the pointer returned.
  QPoint* Append(std::size_t count);

  // settings
  double m_xMin, m_xMax, m_yMin, m_yMax;
  std::vector<int> m_pattern;         ///< cumulative dash ends, 26.6
  std::vector<int> m_reversePattern;  ///< the same, pattern reversed
  int m_patternLength = 0;

  // state
  int m_patternOffset = 0;
  Pixel m_lastPixel;
  int m_lastDirection = kNoDirection;
  bool m_lastAxisAligned = false;
  std::unique_ptr<QPoint[]> m_pixels;
  std::size_t m_count = 0;
  std::size_t m_capacity = 0;
  std::vector<char> m_on;
};

}  // namespace tarvela
