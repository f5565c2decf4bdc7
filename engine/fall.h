// The timed fall, full rows, score and speed.
#pragma once

#include <ctime>

extern int rowsCompleted;
extern time_t gameStartTime;
extern float currentSpeed;
extern double timerInterval;

extern const double initialInterval;
extern const double intervalStep;
extern const double rowsPerIntervalStep;

void CheckRows(void);
void ClearRow(int row);
