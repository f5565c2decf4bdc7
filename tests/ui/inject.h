// The player's input and the screen as the player sees it, for the run-time's contract tests:
// one implementation per platform back end.
#pragma once

namespace inject {

enum { KEY_DOWN = -1, KEY_UP = -2 }; // other keys are passed as their character
void key(int panel, int key, bool ctrl);
void click(int panel, int control); // a left click in the control's middle
void closeBox(int panel);
void resize(int panel, int height, int width); // as the player drags the frame
void answer(int key); // the next pop-up gets this key where its focus is: a letter, '\r', ' ',
                      // 27 or KEY_UP; keys given in turn are pressed in turn
void pump(int ms);    // runs the event loop for a while
// The colour now on screen at a point of a control, given as fractions of its size from its
// lower left corner.
int pixel(int panel, int control, double fx, double fy);

} // namespace inject
