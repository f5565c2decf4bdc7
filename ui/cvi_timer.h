// The timer control: an invisible widget whose ticks become EVENT_TIMER_TICK for its callback.
#pragma once

#include <QTimer>
#include <QWidget>

class CviTimer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double interval READ interval WRITE setInterval)
    // Shadows QWidget's property of the same name: in the form it means "ticking".
    Q_PROPERTY(bool enabled READ isTicking WRITE setTicking)

  public:
    explicit CviTimer(QWidget *parent = nullptr);

    // The panel handle and control id that its ticks report.
    void bind(int panel, int control);

    double interval() const { return seconds; }
    void setInterval(double newSeconds);
    bool isTicking() const { return ticking; }
    void setTicking(bool on);

    // The period that the Qt timer really uses, in milliseconds.
    int periodMs() const;

  private:
    void tick();

    QTimer timer;
    double seconds = 1.0;
    bool ticking = true;
    bool inCallback = false;
    int panelHandle = 0;
    int controlId = 0;
};
