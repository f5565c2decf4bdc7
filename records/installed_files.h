// Names of the files installed beside the program, in the platform's own spelling.
#pragma once

#ifdef _WIN32
#define DIR_SEP "\\"
#define PROGRAM_FILE "KIVO_Stakko.exe"
#else
#define DIR_SEP "/"
#define PROGRAM_FILE "KIVO_Stakko"
#endif

#define IMAGE_FILE(name) "Images" DIR_SEP "KIVO_Stakko_Game_" name ".bmp"
#define SOUND_FILE(name) "WAVs" DIR_SEP "KIVO_Stakko_Game_" name ".wav"

#define GAME_OVER_SOUND SOUND_FILE("Over")
#define FULL_ROW_SOUND SOUND_FILE("Full_Row")
#define SCORE_RECORD_SOUND SOUND_FILE("Salute")
#define SPEED_RECORD_SOUND SOUND_FILE("Salute_2")

// The run-time layer's own files.
#define RUNTIME_DIR "runtime" DIR_SEP
#define RUNTIME_STYLE_FILE RUNTIME_DIR "stakkort.qss"
#define RUNTIME_FONT_FILE RUNTIME_DIR "DejaVuSans.ttf"
#define RUNTIME_BOLD_FONT_FILE RUNTIME_DIR "DejaVuSans-Bold.ttf"
#define RUNTIME_RESOURCE_FILE RUNTIME_DIR "stakkort.rcc"
