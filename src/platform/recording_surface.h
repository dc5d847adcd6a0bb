#pragma once
/// RecordingSurface draws nothing: it turns every drawing call into one line of text
/// with the call's normalised arguments and the state it draws with, so that a test can
/// assert exact coordinates and a whole frame can be compared with a reviewed draw log.
/// It is not a picture: GetPixel gives clNone and its bitmaps snapshot as white.
///
/// Format, one command per line, fields separated by one space: @code{.unparsed}
///   LineTo 10,20 30,40 pen=#000000/1/solid/copy          (from, to)
///   Polyline 10,20 30,40 50,60 pen=...
///   Polygon 10,20 30,40 50,60 pen=... brush=...
///   Rectangle 24,23,441,314 pen=... brush=...            (left,top,right,bottom)
///   RoundRect 0,0,10,10 corner=4,4 pen=... brush=...
///   Ellipse 0,0,10,10 pen=... brush=...
///   Arc 0,0,10,10 start=10,5 end=5,0 pen=...
///   Pie 0,0,10,10 start=10,5 end=5,0 pen=... brush=...
///   SetPixel 3,4 #FF0000
///   TextOut 10,20 "Axis \"x\"" font="Arial"/-11/bold+italic/#000000/900 align=center|baseline bk=transparent
///   FillRect 0,0,10,10 brush=...
///   PatternFill 0,327,465,337 brush=...                 (the covered rectangle)
///   DrawPicture 5,5 picture=16x8/1A2B3C4D                (size / checksum)
///   StretchPicture 0,0,32,32 picture=16x8/1A2B3C4D
///   IntersectClipRect 0,0,10,10 | SelectClipRect 0,0,10,10 | SelectClipPolygon 0,0 10,0 10,10
///   RemoveClipping
///   CreateOffscreen bitmap1 465x337 color                 (or mono)
///   CopyBitmap 0,0 bitmap1 465x337                        (a bitmap of another kind of
///                                                          surface: picture=WxH/checksum) @endcode
/// Colours are \#RRGGBB with red first (clRed is \#FF0000). The pen is
/// colour/width/style/mode with styles solid, dash, dot, dashdot, dashdotdot, clear,
/// insideframe, alternate and modes black, white, nop, not, copy, notcopy, mergepennot,
/// maskpennot, mergenotpen, masknotpen, merge, notmerge, mask, notmask, xor, notxor. The
/// brush is colour/style (solid, clear, horizontal, vertical, fdiagonal, bdiagonal, cross,
/// diagcross) or pattern/WxH/checksum. The font is "name"/height/styles/colour/escapement,
/// styles regular or bold, italic, underline, strikeout joined by '+'. Text is quoted with
/// `\&quot;` and `\\` escaped and control characters written `\r`, `\n`, `\t` or `\xNN`. bk= (transparent
/// or the opaque background colour) follows on text, on lines of a styled pen and on fills
/// of a hatched brush, where the background shows; nowhere else.
///
/// State changes (pen, brush, font, background, alignment, MoveTo) make no line of their
/// own: they show in the lines that draw with them. Queries (TextExtent, GetPixel) are
/// not recorded.
///
/// Off-screen bitmaps are recording surfaces that write to the same log, each line
/// prefixed with the bitmap's name ("bitmap1: Rectangle ..."), so a buffered frame reads
/// as one log: what was drawn into the bitmap, then the CopyBitmap line. The log belongs
/// to the surface and its bitmaps together (Lines, Text and Clear see all of it) and
/// lives as long as any of them.
///
/// Text metrics, fixed so that layouts are exact and independent of installed fonts:
///   character height e = -height for a negative font height, height - height / 6 for a
///                        positive one (a cell height);
///   cell height        = e + e / 5 for a negative font height, the height itself else;
///   character width    = max(1, (e + 1) / 2), the same for every character and style;
///   TextExtent(text)   = (number of UTF-8 characters × character width, cell height).
/// 8 points at 96 pixels per inch (height -11): characters 6 wide, cells 13 high.
/// @file
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tarvela/platform/surface.h"

namespace tarvela {

class RecordingSurface : public Surface {
 public:
  RecordingSurface();
  ~RecordingSurface() override;

  // settings
  /// "" for a surface made directly, "bitmap1", "bitmap2", ... for those of its bitmaps.
  const std::string& Name() const { return m_name; }

  /// At most this many lines are kept (of the surface and its bitmaps together); later
  /// commands are only counted. For paints of millions of commands, where the count is
  /// the point and the text would not fit in memory. No limit by default.
  void SetLineLimit(std::size_t lines);

  // operations
  const std::vector<std::string>& Lines() const;
  /// The commands recorded since the surface was made or cleared, kept or not.
  std::size_t CommandCount() const;
  /// Every line followed by ``'\n'``.
  std::string Text() const;
  void Clear();

  /// The fixed text metrics (see above).
  static int CharacterHeight(const SurfaceFont& font);
  static int CellHeight(const SurfaceFont& font);
  static int CharacterWidth(const SurfaceFont& font);

 protected:
  // overridable steps
  void DoLineTo(TPoint from, TPoint to) override;
  void DoPolyline(std::span<const TPoint> points) override;
  void DoPolygon(std::span<const TPoint> points) override;
  void DoRectangle(const TRect& rect) override;
  void DoRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) override;
  void DoEllipse(const TRect& rect) override;
  void DoArc(const TRect& rect, TPoint start, TPoint end) override;
  void DoPie(const TRect& rect, TPoint start, TPoint end) override;
  void DoSetPixel(TPoint point, TColor rgb) override;
  TColor DoGetPixel(TPoint point) const override;
  void DoTextOut(TPoint point, std::string_view text) override;
  TextSize DoTextExtent(std::string_view text) const override;
  void DoFillRect(const TRect& rect) override;
  void DoPatternFill(const TRect& rect) override;
  void DoDrawPicture(TPoint point, const Picture& picture) override;
  void DoStretchPicture(const TRect& rect, const Picture& picture) override;
  void DoIntersectClipRect(const TRect& rect) override;
  void DoSelectClipRect(const TRect& rect) override;
  void DoSelectClipPolygon(std::span<const TPoint> points) override;
  void DoRemoveClipping() override;
  std::unique_ptr<OffscreenBitmap> DoCreateOffscreen(int width, int height, bool monochrome) override;
  void DoCopyBitmap(TPoint point, const OffscreenBitmap& bitmap) override;

 private:
  struct Log;
  friend class RecordingBitmap;
  RecordingSurface(std::shared_ptr<Log> log, std::string name);

  void Record(const std::string& line);
  std::string PenField() const;
  std::string BrushField() const;
  std::string PenAndBrushFields() const;

  // state
  std::shared_ptr<Log> m_log;  ///< shared with the surfaces of this surface's bitmaps
  std::string m_name;
};

}  // namespace tarvela
