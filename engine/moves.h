// The player's moves, read from a key code in the run-time's layout.
#pragma once

void MoveByKey(int keyCode);
