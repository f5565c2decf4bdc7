// Programs and files: starting another program without waiting for it, and file sizes.
#include "ui_runtime.h"

#include <QProcess>
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>

int LaunchExecutable(const char *commandLine) {
    if (!commandLine)
        return uirt::fail("LaunchExecutable", uirt::ERR_BAD_ARGUMENT, "no command line");
    QStringList words = QProcess::splitCommand(QString::fromLocal8Bit(commandLine));
    if (words.isEmpty())
        return uirt::fail("LaunchExecutable", uirt::ERR_BAD_ARGUMENT, "empty command line");
    const QString program = words.takeFirst();
    // Detached: the game neither waits for it nor looks at how it ends.
    if (!QProcess::startDetached(program, words))
        return uirt::fail("LaunchExecutable", uirt::ERR_LAUNCH, "cannot start " + program);
    return 0;
}

int CVI_GetFileSize(const char *fileName, long *size) {
    if (!fileName)
        return uirt::fail("CVI_GetFileSize", uirt::ERR_FILE_OTHER, "no file name");
    struct stat status;
    if (stat(fileName, &status) != 0) {
        const int reason = errno;
        const QString name = QString::fromLocal8Bit(fileName);
        switch (reason) {
        case ENOENT:
        case ENOTDIR: // a folder on the path is missing or is a file
            return uirt::fail("CVI_GetFileSize", uirt::ERR_FILE_NOT_FOUND, "no file " + name);
        case ENOMEM:
            return uirt::fail("CVI_GetFileSize", uirt::ERR_OUT_OF_MEMORY, "out of memory");
        case EACCES:
            return uirt::fail("CVI_GetFileSize", uirt::ERR_FILE_ACCESS, "no access to " + name);
        default:
            return uirt::fail("CVI_GetFileSize", uirt::ERR_FILE_OTHER,
                              QString::fromLocal8Bit(strerror(reason)) + ": " + name);
        }
    }
    if (!S_ISREG(status.st_mode)) {
        return uirt::fail("CVI_GetFileSize", uirt::ERR_FILE_OTHER,
                          QString::fromLocal8Bit(fileName) + " is not a file");
    }
    if (size)
        *size = static_cast<long long>(status.st_size) > LONG_MAX
                    ? LONG_MAX
                    : static_cast<long>(status.st_size);
    return 0;
}
