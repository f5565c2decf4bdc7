// The timer control: a QTimer behind an invisible widget, with the interval in seconds.
#include "cvi_timer.h"

#include "ui_runtime.h"

#include <QPointer>
#include <cmath>

namespace {

// The shortest interval the timer honours: shorter ones, zero and negative ones included, tick
// at this rate, so that a careless value cannot turn the timer into a busy loop.
constexpr int shortestPeriodMs = 20;

} // namespace

CviTimer::CviTimer(QWidget *parent) : QWidget(parent) {
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(periodMs());
    connect(&timer, &QTimer::timeout, this, &CviTimer::tick);
    setAttribute(Qt::WA_DontShowOnScreen);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setFixedSize(0, 0);
    hide();
    if (ticking)
        timer.start();
}

void CviTimer::bind(int panel, int control) {
    panelHandle = panel;
    controlId = control;
}

int CviTimer::periodMs() const {
    if (!(seconds * 1000.0 > shortestPeriodMs)) // NaN lands here too
        return shortestPeriodMs;
    if (seconds * 1000.0 >= 2147483647.0)
        return 2147483647;
    return static_cast<int>(std::lround(seconds * 1000.0));
}

void CviTimer::setInterval(double newSeconds) {
    seconds = newSeconds;
    // start() on a running timer restarts the interval; a stopped timer only keeps it.
    if (ticking)
        timer.start(periodMs());
    else
        timer.setInterval(periodMs());
}

void CviTimer::setTicking(bool on) {
    ticking = on;
    if (on)
        timer.start(periodMs());
    else
        timer.stop();
}

void CviTimer::tick() {
    // A callback that opens a pop-up runs a nested loop: do not tick into it again.
    if (!panelHandle || inCallback)
        return;
    inCallback = true;
    QPointer<CviTimer> self(this);
    uirt::callControl(panelHandle, controlId, EVENT_TIMER_TICK, 0, 0);
    if (self)
        inCallback = false;
}
