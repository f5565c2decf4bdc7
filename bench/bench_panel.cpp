#include "bench_panel.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "game_sounds.h"
#include "game_state.h"
#include "install_check.h"
#include "records_file.h"
#include "stakko.h"

void openGamePanel() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Games played here set records: they go to a copy, never to the player's folder.
    std::error_code error;
    static const std::filesystem::path copy =
        std::filesystem::temp_directory_path() / ("stakko-bench-" + std::to_string(getpid()));
    atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(copy, ignored);
    });
    std::filesystem::copy(STAKKO_INSTALL_DIR, copy, std::filesystem::copy_options::recursive,
                          error);
    std::filesystem::remove(copy / "_KIVOSTAKKOGAME.CFG", error);
    if (chdir(copy.c_str()) != 0 || checkFileIntegrity() != 1) {
        fprintf(stderr, "the installation folder %s is not complete\n", STAKKO_INSTALL_DIR);
        exit(1);
    }
    static char name[] = "KIVO_Stakko";
    static char *argv[] = {name, nullptr};
    if (InitCVIRTEEx(0, argv, 0) == 0 || (panelHandle = LoadPanel(0, "stakko.uir", PANEL)) < 0) {
        fprintf(stderr, "the panel cannot be loaded\n");
        exit(1);
    }
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
    SetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_DIMMED, 1);
    GetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR, &defaultButtonColour);
    soundOn = 0;
    panelHeight = 792;
    panelWidth = 461;
    SetPanelSize(panelHandle, panelHeight, panelWidth);
    DisplayPanel(panelHandle);
    runEventLoop(0.2);
}

void startGameAnsweringYes() {
    // The question is modal: answer it from inside its own event loop.
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == "&Yes") {
                    button->click();
                }
            }
        }
    });
    Start(panelHandle, PANEL_START, EVENT_COMMIT, nullptr, 0, 0);
}

void runEventLoop(double seconds) {
    QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QuitUserInterface(0); });
    RunUserInterface();
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKiB() {
    long pages = 0, resident = 0;
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
