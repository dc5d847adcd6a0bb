#pragma once
/// The chart on paper: one page of a printer (a real one, or a PDF file through the
/// print dialog), drawn the way a chart prints. A chart window prints this way on Ctrl+P;
/// pictures and documents of the screen's drawing are chart_picture.h's.
/// @file

class QPrinter;

namespace tarvela {

class TCustomZavPanel;

/// Prints the chart on one page of printer, as the chart prints: with its printing flag
/// set while it draws (no panel frame, no plain background, white axis texts black) and
/// unbuffered, so that lines and text reach the printer as lines and text. The chart
/// lies inside its print margins (percent of the paper's width and height), kept in its
/// own proportions and centred there when PrintProportional is set, else stretched to
/// them. It is laid out at its own size in pixels, or, when PrintResolution is set, at
/// that many pixels per inch of the printed area. The chart's size and the layout a
/// window shows are as before afterwards. Throws Exception "Cannot print: why" when the
/// printer cannot be started (an output file that cannot be written).
void PrintChart(TCustomZavPanel& chart, QPrinter& printer);

}  // namespace tarvela
