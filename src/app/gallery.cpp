#include "app/gallery.h"

#include <QImage>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <ostream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "tarvela/chart/chart.h"
#include "tarvela/chart/data/chart_series.h"
#include "tarvela/chart/data/zav_function.h"
#include "tarvela/chart/series/circled_series.h"
#include "tarvela/chart/series/line_series.h"
#include "tarvela/widgets/chart_picture.h"
#include "tarvela/widgets/output_file.h"
#include "tarvela/widgets/png_file.h"
#include "tarvela/widgets/qt_convert.h"

namespace tarvela {

namespace {

constexpr int kSamplePoints = 8;

// Sample k of a fixed set: a gentle wave, positive, different for each series, so that
// bars, areas and pies all have something to show.
double SampleValue(int series, int i) {
  return 4.0 + 2.5 * std::sin(0.8 * i + 1.3 * series) + series + 0.25 * (i % 3);
}

// The samples are values at places 0, 1, 2, ...: along X for most types, along Y for
// those whose value runs along X (horizontal bars).
void FillSamples(TChartSeries& series, int k) {
  for (int i = 0; i < kSamplePoints; ++i) {
    if (series.YIsMandatory())
      series.AddPointXY(i, SampleValue(k, i));
    else
      series.AddPointXY(SampleValue(k, i), i);
  }
}

TChartSeries* NewSeries(TChart& chart, const TZavClassRef& type) {
  auto* series = dynamic_cast<TChartSeries*>(type.Create(&chart));
  if (series == nullptr) return nullptr;
  series->SetParentChart(&chart);
  // At 300 x 220 the marks some types show by default would hide the chart itself.
  series->Marks().SetVisible(false);
  // A pie fills the plot, which is wider than high; the picture shows it round.
  if (auto* circled = dynamic_cast<TCircledSeries*>(series)) circled->SetCircled(true);
  return series;
}

std::string Slug(std::string_view text) {
  std::string slug;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  while (!slug.empty() && slug.back() == '-') slug.pop_back();
  return slug;
}

std::string Html(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

// Removes the folder and all it holds; links are removed, never followed.
void RemoveTree(const std::string& path) {
  ::nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// A new folder beside path, named path.XXXXXX; empty when it cannot be made.
std::string FolderBeside(const std::string& path) {
  std::vector<char> name(path.begin(), path.end());
  for (char c : std::string(".XXXXXX")) name.push_back(c);
  name.push_back('\0');
  return ::mkdtemp(name.data()) != nullptr ? std::string(name.data()) : std::string();
}

// The names the folder holds, on the disk before the folder is swapped in.
bool SyncFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

mode_t NewFolderMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0777 & ~mask;
}

// The pictures and the page, written into folder; name is how the user knows it. False
// after writing the failure to err.
bool WriteGalleryFiles(const std::string& folder, const std::string& name, std::ostream& err) {
  const std::vector<TZavSeriesType>& entries = TZavSeriesTypes::Instance().Entries();
  std::ostringstream unused;
  std::string reason;
  for (const bool smooth : {false, true}) {
    const std::string pageName = smooth ? kGallerySmoothPage : "index.html";
    std::string page =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head><meta charset=\"utf-8\"/>"
        "<title>Tarvela chart types</title>\n<style>body{font-family:sans-serif}"
        "main{display:grid;grid-template-columns:repeat(auto-fill,minmax(620px,1fr));gap:16px}"
        "figure{margin:0}</style></head>\n<body>\n<h1>Chart types";
    page += smooth ? " with smooth lines</h1>\n<p><a href=\"index.html\">Drawn exactly</a></p>\n<main>\n"
                   : std::string("</h1>\n<p><a href=\"") + kGallerySmoothPage +
                         "\">Drawn with smooth lines</a></p>\n<main>\n";
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
      const TZavSeriesType& entry = entries[static_cast<std::size_t>(i)];
      page += "<figure class=\"entry\"><figcaption><span class=\"page\">" + Html(entry.GalleryPage) +
              "</span>: <span class=\"description\">" + Html(entry.Description) + "</span></figcaption>";
      for (bool view3D : {true, false}) {
        const std::string file = GalleryFileName(i, entry, view3D, smooth);
        const std::unique_ptr<TChart> chart = GalleryChart(entry, view3D, smooth);
        // The picture a window of this chart shows.
        const QImage image = RenderChartImage(*chart);
        if (image.isNull()) reason = "not enough memory to draw the picture";
        if (image.isNull() ||
            !WriteOutput(folder + "/" + file, unused, [&](QIODevice& device) { return WritePng(image, device); },
                         &reason)) {
          err << "tarvela: " << CannotWriteMessage(name + "/" + file, reason) << '\n';
          return false;
        }
        page += "<img src=\"" + Html(file) + "\" width=\"" + std::to_string(kGalleryWidth) + "\" height=\"" +
                std::to_string(kGalleryHeight) + "\" alt=\"" + Html(entry.Description) +
                (view3D ? " in 3D" : " in 2D") + "\"/>";
      }
      page += "</figure>\n";
    }
    page += "</main>\n</body>\n</html>\n";
    if (!WriteOutput(folder + "/" + pageName, unused, BytesWriter(page), &reason)) {
      err << "tarvela: " << CannotWriteMessage(name + "/" + pageName, reason) << '\n';
      return false;
    }
  }
  if (!SyncFolder(folder)) {
    err << "tarvela: " << CannotWriteMessage(name, std::strerror(errno)) << '\n';
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<TChart> GalleryChart(const TZavSeriesType& entry, bool view3D, bool antialiased) {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetBounds(0, 0, kGalleryWidth, kGalleryHeight);
  chart->SetView3D(view3D);
  chart->SetAntialiased(antialiased);
  chart->Title().Text().Add(entry.Description);
  chart->Legend().SetVisible(false);
  if (entry.FunctionClass.IsNone()) {
    for (int k = 0; k < std::max(1, entry.GallerySeriesCount); ++k)
      if (TChartSeries* series = NewSeries(*chart, entry.SeriesClass)) FillSamples(*series, k);
    return chart;
  }
  // A function is shown over its sample series: the sources, then the series it computes.
  const TZavClassRef line = TZavClassRef::Of<TLineSeries>("TLineSeries");
  const TZavClassRef& type = entry.SeriesClass.IsNone() ? line : entry.SeriesClass;
  std::vector<TChartSeries*> sources;
  for (int k = 0; k < std::max(1, entry.GallerySeriesCount); ++k) {
    if (TChartSeries* source = NewSeries(*chart, line)) {
      FillSamples(*source, k);
      sources.push_back(source);
    }
  }
  TChartSeries* computed = NewSeries(*chart, type);
  if (computed == nullptr) return chart;
  computed->SetSeriesColor(clBlack);
  std::unique_ptr<TZavFunction> function(dynamic_cast<TZavFunction*>(entry.FunctionClass.Create(nullptr)));
  if (function == nullptr) return chart;
  computed->SetFunction(std::move(function));
  for (TChartSeries* source : sources) computed->AddDataSource(source);
  return chart;
}

std::string GalleryFileName(int index, const TZavSeriesType& entry, bool view3D, bool antialiased) {
  std::string number = std::to_string(index + 1);
  if (number.size() < 2) number.insert(0, 1, '0');
  return number + "-" + Slug(entry.Description) + (view3D ? "-3d" : "-2d") + (antialiased ? "-smooth.png" : ".png");
}

bool WriteGallery(const std::string& folder, std::ostream& err) {
  // "g/" names the folder g: the new one goes beside it, not into it.
  std::string name = folder;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  const auto fail = [&](int error) {
    err << "tarvela: " << CannotWriteMessage(name, std::strerror(error)) << '\n';
    return false;
  };
  // A link to a gallery stays a link; the folder it names is the one replaced.
  const std::string path = FollowLinks(name);
  const std::size_t slash = path.rfind('/');
  std::string reason;
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), &reason)) {
    err << "tarvela: " << CannotWriteMessage(name, reason) << '\n';
    return false;
  }
  struct stat old;
  const bool replaces = ::lstat(path.c_str(), &old) == 0;
  if (!replaces && errno != ENOENT) return fail(errno);
  if (replaces && !S_ISDIR(old.st_mode)) return fail(ENOTDIR);

  // Written whole beside the old gallery and swapped in at the end: a gallery is never
  // half old, half new, nor keeps pictures of entries the catalogue no longer has, and
  // a failure leaves the old one as it was.
  const std::string fresh = FolderBeside(path);
  if (fresh.empty()) return fail(errno);
  if (::chmod(fresh.c_str(), replaces ? old.st_mode & 07777 : NewFolderMode()) != 0) {
    const int error = errno;
    RemoveTree(fresh);
    return fail(error);
  }
  if (!WriteGalleryFiles(fresh, name, err)) {
    RemoveTree(fresh);
    return false;
  }
  if (!replaces) {
    if (::rename(fresh.c_str(), path.c_str()) == 0) return true;
    const int error = errno;
    RemoveTree(fresh);
    return fail(error);
  }
  // The old gallery moves onto an empty folder of its own, which a rename may replace.
  const std::string aside = FolderBeside(path);
  if (aside.empty() || ::rename(path.c_str(), aside.c_str()) != 0) {
    const int error = errno;
    if (!aside.empty()) ::rmdir(aside.c_str());
    RemoveTree(fresh);
    return fail(error);
  }
  if (::rename(fresh.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::rename(aside.c_str(), path.c_str());
    RemoveTree(fresh);
    return fail(error);
  }
  RemoveTree(aside);
  return true;
}

}  // namespace tarvela
