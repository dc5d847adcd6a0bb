// The smallest QCustomPlot program that writes a chart like the main form's: 11 lines
// of 15 points in the form's colours, axes, a legend, 465 x 337, written as a PNG.
// The yardstick of bench/whole_process; nothing of it goes into the program.
//
// peer_png FILE
#include <QApplication>
#include <cmath>
#include <cstdio>

#include <qcustomplot.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: peer_png FILE\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QCustomPlot plot;
  plot.resize(465, 337);
  plot.setNotAntialiasedElements(QCP::aeAll);
  for (int s = 0; s <= 10; ++s) {
    QCPGraph* graph = plot.addGraph();
    graph->setPen(QPen(s == 0 ? Qt::red : s == 10 ? Qt::yellow : Qt::green));
    graph->setName(QString("Series%1").arg(s + 1));
    QVector<double> x, y;
    for (int i = 1; i <= 15; ++i) {
      x << i / 15.0;
      y << std::exp(-0.1 * s) * std::sin(3.14159265358979 * i / 15.0);
    }
    graph->setData(x, y, true);
  }
  plot.legend->setVisible(true);
  plot.rescaleAxes();
  return plot.savePng(QString::fromLocal8Bit(argv[1]), 465, 337) ? 0 : 1;
}
