#pragma once
// The gallery of chart types: for every entry of the catalogue of series types, a small
// chart of that type (or of that function over two sample series) with a fixed data set,
// drawn in 3D and in 2D, and a page that shows them in a grid with their gallery page and
// description; a second page shows the same charts drawn with smooth lines. People choose
// a chart type by looking; the pictures are the same on every run, so they can be
// compared and kept.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/series_types.h"

namespace tarvela {

inline constexpr int kGalleryWidth = 300;
inline constexpr int kGalleryHeight = 220;

// A chart of kGalleryWidth x kGalleryHeight showing entry with its fixed data, owning
// its series and functions; antialiased for the page of smooth lines.
std::unique_ptr<TChart> GalleryChart(const TZavSeriesType& entry, bool view3D, bool antialiased = false);

// The file name of an entry's picture, e.g. "09-bar-3d.png", or "09-bar-3d-smooth.png"
// drawn antialiased.
std::string GalleryFileName(int index, const TZavSeriesType& entry, bool view3D, bool antialiased = false);

// The page of the smooth pictures, beside index.html; each page links to the other.
inline constexpr const char* kGallerySmoothPage = "smooth.html";

// Writes both pictures of every entry, plain and smooth, index.html and the smooth
// page into a new folder beside folder,
// then swaps it in whole for the old gallery there (its parents made when missing).
// False after writing "tarvela: cannot write to FILE: why" to err, with the old gallery
// as it was and nothing left beside it.
bool WriteGallery(const std::string& folder, std::ostream& err);

}  // namespace tarvela
