// The shell's globals: the panel, the saved button colour and the three flags that carry the
// game's states through every callback.
#pragma once

extern int panelHandle;
extern int defaultButtonColour;
extern int gameRunning; // a game is in progress
extern int gamePaused;  // the Pause button's toggle
extern int pauseActive; // the game is held by the Pause button

void Initialize(void);
int quitOrNot(void);
void messageHelp(void);

// Turns the Start / Quit question into a yes (1) or no (0).
int askYesNo(const char *question);

// The help text and the web page's address, shared with the tests that check them.
extern const char *const helpText;
extern const char *const webPage;
