// Puts a whole new records file in place of the old one at once on Windows, whose rename()
// refuses to replace an existing file.
#include <windows.h>

int replaceFile(const char *from, const char *to) {
    wchar_t wideFrom[MAX_PATH], wideTo[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, from, -1, wideFrom, MAX_PATH) ||
        !MultiByteToWideChar(CP_ACP, 0, to, -1, wideTo, MAX_PATH))
        return -1;
    return MoveFileExW(wideFrom, wideTo, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0
                                                                                             : -1;
}
