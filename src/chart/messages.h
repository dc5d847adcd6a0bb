#pragma once
/// The chart engine's message texts, byte for byte as the user sees them. Patterns
/// are filled with FormatMessage (runtime/exceptions.h), one placeholder at a time.
/// @file
namespace tarvela::messages {

inline constexpr const char* kChart3DPercentRange = "3D effect percent must be between %d and %d";
inline constexpr int kMinChart3DPercent = 1;
inline constexpr int kMaxChart3DPercent = 100;

// Series and their data sources.
inline constexpr const char* kFillSampleValuesCount = "FillSampleValues NumValues must be > 0";
inline constexpr const char* kNoParentChartForDataSource = "No ParentChart to validate DataSource";
inline constexpr const char* kNoValidDataSource = "No valid DataSource: %s";
inline constexpr const char* kCircularSeries = "Circular Series dependences are not allowed";
/// The legend title of a series with neither title nor name; \%d is its legend position.
inline constexpr const char* kDefaultSeriesTitle = "Series %d";
inline constexpr const char* kPointerSize = "Pointer size must be greater than zero";
/// A mark's percentage of the series' total: the percentage, then the total.
inline constexpr const char* kPercentOfTotal = "%s of %s";

// Bar series.
inline constexpr const char* kBarWidthPercent = "Bar Width Percent must be between 1 and 100";
inline constexpr const char* kBarOffsetPercent = "Bar Offset Percent must be between -100% and 100%";

// Pie series; kAngleRange is filled with kRotationAngle. The other slice's label.
inline constexpr const char* kRotationAngle = "Rotation";
inline constexpr const char* kPieOther = "Other";
/// Sample slice labels.
inline constexpr const char* kPieSamples[] = {"Cars", "Phones", "Tables", "Monitors",
                                               "Lamps", "Keyboards", "Bikes", "Chairs"};

// Series functions.
inline constexpr const char* kFunctionPeriod = "Function Period should be >= 0";

// Axes.
inline constexpr const char* kAxisMinimum = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* kAxisMaximum = "Axis Maximum Value must be >= Minimum";
inline constexpr const char* kAxisIncrement = "Axis increment must be >= 0";
inline constexpr const char* kAxisDateTimeLogarithmic = "DateTime Axis cannot be Logarithmic";
inline constexpr const char* kAxisLogarithmicLimits = "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr const char* kAxisLogarithmicBase = "Axis Logarithmic Base should be >= 2";
inline constexpr const char* kAxisLabelsSeparation = "Labels Separation % must be greater than 0";
inline constexpr const char* kAxisMinorTickCount = "Axis MinorTickCount must be <= 1000";
/// \%s is kAxisLabelsAngle or kAxisTitleAngle.
inline constexpr const char* kAngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr const char* kAxisLabelsAngle = "Axis Labels";
inline constexpr const char* kAxisTitleAngle = "Axis Title";

// Legend.
inline constexpr const char* kLegendTopPos = "Top Legend Position must be between 0 and 100 %";
inline constexpr const char* kLegendFirstValue = "First Legend Value must be > 0";
inline constexpr const char* kLegendColorWidth = "Legend Color Width must be between 0 and 100 %";

// Paging.
inline constexpr const char* kMaxPointsPerPage = "MaxPointsPerPage must be >= 0";

// The catalogue of series types: the gallery pages and the entries' descriptions.
inline constexpr const char* kGalleryFunctions = "Functions";
inline constexpr const char* kGalleryStandard = "Standard";
inline constexpr const char* kFunctionAdd = "Add";
inline constexpr const char* kFunctionSubtract = "Subtract";
inline constexpr const char* kFunctionMultiply = "Multiply";
inline constexpr const char* kFunctionDivide = "Divide";
inline constexpr const char* kFunctionHigh = "High";
inline constexpr const char* kFunctionLow = "Low";
inline constexpr const char* kFunctionAverage = "Average";
inline constexpr const char* kSeriesLine = "Line";
inline constexpr const char* kSeriesBar = "Bar";
inline constexpr const char* kSeriesHorizBar = "Horiz. Bar";
inline constexpr const char* kSeriesArea = "Area";
inline constexpr const char* kSeriesPoint = "Point";
inline constexpr const char* kSeriesPie = "Pie";
inline constexpr const char* kSeriesFastLine = "Fast Line";

}  // namespace tarvela::messages
