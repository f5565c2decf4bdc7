// The graph control: plots of bitmaps on square cells, in axis units with y upward.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <map>
#include <tuple>

class CviGraph : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double xMinimum MEMBER xMin WRITE setXMinimum)
    Q_PROPERTY(double xMaximum MEMBER xMax WRITE setXMaximum)
    Q_PROPERTY(double yMinimum MEMBER yMin WRITE setYMinimum)
    Q_PROPERTY(double yMaximum MEMBER yMax WRITE setYMaximum)

  public:
    explicit CviGraph(QWidget *parent = nullptr);

    void setXMinimum(double value);
    void setXMaximum(double value);
    void setYMinimum(double value);
    void setYMaximum(double value);

    int addPlot(double x, double y, double width, double height); // its handle
    bool setPlotBitmap(int plot, int bitmapId); // false when there is no such plot
    bool deletePlot(int plot);                  // false when there is no such plot
    void deleteAllPlots();
    int plotCount() const { return static_cast<int>(plots.size()); }

    // Where the axis range lies in the widget, in pixels; empty when it cannot be shown.
    QRect axisArea() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    struct Plot {
        double x, y, width, height;
        int bitmapId;
    };
    struct Layout {
        QRect area;
        double unit = 0; // pixels per axis unit
    };

    Layout layoutNow() const;
    QRect plotRect(const Plot &plot, const Layout &layout) const;
    const QPixmap &scaled(int bitmapId, QSize size);
    void rangeChanged();

    double xMin = 0, xMax = 100, yMin = 0, yMax = 100;
    std::map<int, Plot> plots; // drawn in the order they were made
    int lastHandle = 0;
    std::map<std::tuple<qint64, int, int>, QPixmap> pixmapCache; // image, width, height
};
