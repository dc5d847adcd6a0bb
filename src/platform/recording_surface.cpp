#include "tarvela/platform/recording_surface.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace tarvela {

struct RecordingSurface::Log {
  std::vector<std::string> lines;
  std::size_t lineLimit = static_cast<std::size_t>(-1);
  std::size_t commandCount = 0;
  int bitmapCount = 0;
};

// The bitmap of a recording surface: another recording surface on the same log.
class RecordingBitmap : public OffscreenBitmap {
 public:
  RecordingBitmap(std::shared_ptr<RecordingSurface::Log> log, std::string name, int width, int height,
                  bool monochrome)
      : OffscreenBitmap(width, height, monochrome), m_surface(std::move(log), std::move(name)) {}

  const std::string& Name() const { return m_surface.Name(); }

 protected:
  Surface& DoDrawingSurface() override { return m_surface; }
  Picture DoSnapshot() const override { return Picture(Width(), Height()); }

 private:
  RecordingSurface m_surface;
};

namespace {

// ---------------------------------------------------------------- [SECTION] fields

std::string ColorText(TColor rgb) {
  const auto value = static_cast<std::uint32_t>(rgb);
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", RedOf(value), GreenOf(value), BlueOf(value));
  return buffer;
}

std::string PointText(TPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

std::string RectText(const TRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

std::string PointsText(std::span<const TPoint> points) {
  std::string text;
  for (const TPoint& p : points) {
    if (!text.empty()) text += ' ';
    text += PointText(p);
  }
  return text;
}

std::string PictureText(const Picture& picture) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%dx%d/%08X", picture.Width(), picture.Height(), picture.Checksum());
  return buffer;
}

const char* PenStyleName(TPenStyle style) {
  switch (style) {
    case psSolid: return "solid";
    case psDash: return "dash";
    case psDot: return "dot";
    case psDashDot: return "dashdot";
    case psDashDotDot: return "dashdotdot";
    case psClear: return "clear";
    case psInsideFrame: return "insideframe";
  }
  return "solid";
}

const char* PenModeName(TPenMode mode) {
  static const char* const kNames[] = {"black",      "white",       "nop",   "not",      "copy",  "notcopy",
                                       "mergepennot", "maskpennot", "mergenotpen", "masknotpen", "merge",
                                       "notmerge",   "mask",        "notmask", "xor",    "notxor"};
  const int index = static_cast<int>(mode);
  return index >= 0 && index < 16 ? kNames[index] : "copy";
}

const char* BrushStyleName(TBrushStyle style) {
  switch (style) {
    case bsSolid: return "solid";
    case bsClear: return "clear";
    case bsHorizontal: return "horizontal";
    case bsVertical: return "vertical";
    case bsFDiagonal: return "fdiagonal";
    case bsBDiagonal: return "bdiagonal";
    case bsCross: return "cross";
    case bsDiagCross: return "diagcross";
  }
  return "solid";
}

std::string QuotedText(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\r': quoted += "\\r"; break;
      case '\n': quoted += "\\n"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02X", byte);
          quoted += buffer;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::string FontText(const SurfaceFont& font) {
  std::string styles;
  const std::pair<TFontStyle, const char*> kStyles[] = {
      {fsBold, "bold"}, {fsItalic, "italic"}, {fsUnderline, "underline"}, {fsStrikeOut, "strikeout"}};
  for (const auto& [style, name] : kStyles) {
    if (!font.HasStyle(style)) continue;
    if (!styles.empty()) styles += '+';
    styles += name;
  }
  if (styles.empty()) styles = "regular";
  return QuotedText(font.name) + "/" + std::to_string(font.height) + "/" + styles + "/" + ColorText(font.color) +
         "/" + std::to_string(font.escapement);
}

std::string AlignText(int flags) {
  std::string text;
  switch (HorizontalAlignOf(flags)) {
    case HorizontalAlign::Left: text = "left"; break;
    case HorizontalAlign::Right: text = "right"; break;
    case HorizontalAlign::Center: text = "center"; break;
  }
  switch (VerticalAlignOf(flags)) {
    case VerticalAlign::Top: text += "|top"; break;
    case VerticalAlign::Bottom: text += "|bottom"; break;
    case VerticalAlign::Baseline: text += "|baseline"; break;
  }
  return text;
}

bool IsStyledPen(const SurfacePen& pen) {
  return pen.alternate || pen.style == psDash || pen.style == psDot || pen.style == psDashDot ||
         pen.style == psDashDotDot;
}

bool IsHatchedBrush(const SurfaceBrush& brush) {
  return !brush.pattern && brush.style != bsSolid && brush.style != bsClear;
}

int CharacterCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

// ---------------------------------------------------------------- [SECTION] log

RecordingSurface::RecordingSurface() : m_log(std::make_shared<Log>()) {}

RecordingSurface::RecordingSurface(std::shared_ptr<Log> log, std::string name)
    : m_log(std::move(log)), m_name(std::move(name)) {}

RecordingSurface::~RecordingSurface() = default;

const std::vector<std::string>& RecordingSurface::Lines() const { return m_log->lines; }

std::string RecordingSurface::Text() const {
  std::string text;
  for (const std::string& line : m_log->lines) {
    text += line;
    text += '\n';
  }
  return text;
}

void RecordingSurface::Clear() {
  m_log->lines.clear();
  m_log->commandCount = 0;
}

void RecordingSurface::SetLineLimit(std::size_t lines) { m_log->lineLimit = lines; }

std::size_t RecordingSurface::CommandCount() const { return m_log->commandCount; }

void RecordingSurface::Record(const std::string& line) {
  ++m_log->commandCount;
  if (m_log->lines.size() >= m_log->lineLimit) return;
  m_log->lines.push_back(m_name.empty() ? line : m_name + ": " + line);
}

std::string RecordingSurface::PenField() const {
  const SurfacePen& pen = Pen();
  std::string field = "pen=" + ColorText(pen.color) + "/" + std::to_string(pen.width) + "/" +
                      (pen.alternate ? "alternate" : PenStyleName(pen.style)) + "/" + PenModeName(pen.mode);
  if (IsStyledPen(pen)) {
    field += " bk=" + (BackgroundMode() == BkMode::Opaque ? ColorText(BackgroundColor()) : std::string("transparent"));
  }
  return field;
}

std::string RecordingSurface::BrushField() const {
  const SurfaceBrush& brush = Brush();
  std::string field = brush.pattern ? "brush=pattern/" + PictureText(*brush.pattern)
                                    : "brush=" + ColorText(brush.color) + "/" + BrushStyleName(brush.style);
  if (IsHatchedBrush(brush)) {
    field += " bk=" + (BackgroundMode() == BkMode::Opaque ? ColorText(BackgroundColor()) : std::string("transparent"));
  }
  return field;
}

std::string RecordingSurface::PenAndBrushFields() const {
  // One bk= field even when both the pen and the brush would show the background.
  std::string pen = PenField();
  const std::string brush = BrushField();
  if (IsStyledPen(Pen()) && IsHatchedBrush(Brush())) pen = pen.substr(0, pen.find(" bk="));
  return pen + " " + brush;
}

// ---------------------------------------------------------------- [SECTION] metrics

int RecordingSurface::CharacterHeight(const SurfaceFont& font) {
  return font.height < 0 ? -font.height : font.height - font.height / 6;
}

int RecordingSurface::CellHeight(const SurfaceFont& font) {
  if (font.height > 0) return font.height;
  const int characterHeight = CharacterHeight(font);
  return characterHeight + characterHeight / 5;
}

int RecordingSurface::CharacterWidth(const SurfaceFont& font) {
  return std::max(1, (CharacterHeight(font) + 1) / 2);
}

TextSize RecordingSurface::DoTextExtent(std::string_view text) const {
  return {CharacterCount(text) * CharacterWidth(Font()), CellHeight(Font())};
}

// ---------------------------------------------------------------- [SECTION] commands

void RecordingSurface::DoLineTo(TPoint from, TPoint to) {
  Record("LineTo " + PointText(from) + " " + PointText(to) + " " + PenField());
}

void RecordingSurface::DoPolyline(std::span<const TPoint> points) {
  Record("Polyline " + PointsText(points) + " " + PenField());
}

void RecordingSurface::DoPolygon(std::span<const TPoint> points) {
  Record("Polygon " + PointsText(points) + " " + PenAndBrushFields());
}

void RecordingSurface::DoRectangle(const TRect& rect) {
  Record("Rectangle " + RectText(rect) + " " + PenAndBrushFields());
}

void RecordingSurface::DoRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) {
  Record("RoundRect " + RectText(rect) + " corner=" + std::to_string(cornerWidth) + "," +
         std::to_string(cornerHeight) + " " + PenAndBrushFields());
}

void RecordingSurface::DoEllipse(const TRect& rect) { Record("Ellipse " + RectText(rect) + " " + PenAndBrushFields()); }

void RecordingSurface::DoArc(const TRect& rect, TPoint start, TPoint end) {
  Record("Arc " + RectText(rect) + " start=" + PointText(start) + " end=" + PointText(end) + " " + PenField());
}

void RecordingSurface::DoPie(const TRect& rect, TPoint start, TPoint end) {
  Record("Pie " + RectText(rect) + " start=" + PointText(start) + " end=" + PointText(end) + " " +
         PenAndBrushFields());
}

void RecordingSurface::DoSetPixel(TPoint point, TColor rgb) { Record("SetPixel " + PointText(point) + " " + ColorText(rgb)); }

TColor RecordingSurface::DoGetPixel(TPoint) const { return clNone; }

void RecordingSurface::DoTextOut(TPoint point, std::string_view text) {
  const std::string bk =
      BackgroundMode() == BkMode::Opaque ? ColorText(BackgroundColor()) : std::string("transparent");
  Record("TextOut " + PointText(point) + " " + QuotedText(text) + " font=" + FontText(Font()) +
         " align=" + AlignText(TextAlign()) + " bk=" + bk);
}

void RecordingSurface::DoFillRect(const TRect& rect) { Record("FillRect " + RectText(rect) + " " + BrushField()); }

void RecordingSurface::DoPatternFill(const TRect& rect) { Record("PatternFill " + RectText(rect) + " " + BrushField()); }

void RecordingSurface::DoDrawPicture(TPoint point, const Picture& picture) {
  Record("DrawPicture " + PointText(point) + " picture=" + PictureText(picture));
}

void RecordingSurface::DoStretchPicture(const TRect& rect, const Picture& picture) {
  Record("StretchPicture " + RectText(rect) + " picture=" + PictureText(picture));
}

void RecordingSurface::DoIntersectClipRect(const TRect& rect) { Record("IntersectClipRect " + RectText(rect)); }

void RecordingSurface::DoSelectClipRect(const TRect& rect) { Record("SelectClipRect " + RectText(rect)); }

void RecordingSurface::DoSelectClipPolygon(std::span<const TPoint> points) {
  Record(points.empty() ? std::string("SelectClipPolygon") : "SelectClipPolygon " + PointsText(points));
}

void RecordingSurface::DoRemoveClipping() { Record("RemoveClipping"); }

std::unique_ptr<OffscreenBitmap> RecordingSurface::DoCreateOffscreen(int width, int height, bool monochrome) {
  std::string name = "bitmap" + std::to_string(++m_log->bitmapCount);
  Record("CreateOffscreen " + name + " " + std::to_string(width) + "x" + std::to_string(height) +
         (monochrome ? " mono" : " color"));
  return std::make_unique<RecordingBitmap>(m_log, std::move(name), width, height, monochrome);
}

void RecordingSurface::DoCopyBitmap(TPoint point, const OffscreenBitmap& bitmap) {
  if (const auto* recorded = dynamic_cast<const RecordingBitmap*>(&bitmap)) {
    Record("CopyBitmap " + PointText(point) + " " + recorded->Name() + " " + std::to_string(bitmap.Width()) + "x" +
           std::to_string(bitmap.Height()));
  } else {
    Record("CopyBitmap " + PointText(point) + " picture=" + PictureText(bitmap.Snapshot()));
  }
}

}  // namespace tarvela
