// The controls that Qt lacks: a graph of bitmap plots on square cells, and a round lamp. Both
// draw what the core holds for their control.
#pragma once

#include "rt.h"

#include <QPixmap>
#include <QWidget>

int panelOf(const QWidget *widget); // the handle of the panel the widget is on, 0 for none
int idOf(const QWidget *widget);    // its control id, 0 for decoration

class Graph : public QWidget {
  public:
    using QWidget::QWidget;
    void changed(const rt::Control &c, const rt::Plot *plot); // null plot: everything

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    QRect plotRect(const rt::Control &c, const rt::Plot &plot) const;
    std::map<qint64, QPixmap> scaled; // by image, at the current cell size
    rt::Box box{};                    // where the axis range lies, in pixels
    double unit = 0;                  // pixels per axis unit, whole pixels per cell
};

class Led : public QWidget {
  public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return {16, 16}; }

  protected:
    void paintEvent(QPaintEvent *event) override;
};
