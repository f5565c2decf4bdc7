// Starting programs, file sizes and the library-error report.
#include "support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <string>

TEST(LaunchExecutable, StartsTheProgramWithoutWaiting) {
    QTemporaryDir directory;
    const QString script = directory.path() + "/write marker.sh";
    const QString marker = directory.path() + "/marker";
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nsleep 0.2\necho started > \"$1\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);

    QElapsedTimer clock;
    clock.start();
    const std::string command = "\"" + script.toStdString() + "\" \"" + marker.toStdString() + "\"";
    ASSERT_EQ(LaunchExecutable(command.c_str()), 0);
    EXPECT_FALSE(QFile::exists(marker)); // it is still sleeping: the call did not wait
    while (!QFile::exists(marker) && clock.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(LaunchExecutable, RefusesWhatCannotStart) {
    DisableBreakOnLibraryErrors();
    EXPECT_LT(LaunchExecutable("/no/such/program --flag"), 0);
    EXPECT_LT(LaunchExecutable(""), 0);
    EXPECT_LT(LaunchExecutable(nullptr), 0);
    EnableBreakOnLibraryErrors();
}

TEST(FileSize, CodesForEachOutcome) {
    QTemporaryDir directory;
    const QString path = directory.path() + "/seven.txt";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1234567");
    file.close();
    QDir(directory.path()).mkdir("folder");

    const struct {
        QString name;
        int code;
        long size;
    } cases[] = {
        {path, 0, 7},
        {directory.path() + "/missing.txt", -1, -99},
        {directory.path() + "/no/such/folder/x.txt", -1, -99},
        {path + "/under-a-file", -1, -99},
        {directory.path() + "/" + QString(300, 'x'), -5, -99}, // name too long
        {directory.path() + "/folder", -5, -99},               // not a file
    };
    DisableBreakOnLibraryErrors();
    for (const auto &each : cases) {
        long size = -99;
        EXPECT_EQ(CVI_GetFileSize(each.name.toLocal8Bit().constData(), &size), each.code)
            << each.name.toStdString();
        EXPECT_EQ(size, each.size) << each.name.toStdString();
    }
    EnableBreakOnLibraryErrors();
}

TEST(BreakOnLibraryErrors, FlagAndOneLineReport) {
    EXPECT_EQ(GetBreakOnLibraryErrors(), 1); // on from the start
    EXPECT_EQ(DisableBreakOnLibraryErrors(), 1);
    EXPECT_EQ(GetBreakOnLibraryErrors(), 0);
    ::testing::internal::CaptureStderr();
    CVI_GetFileSize("/no/such/file", nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    EXPECT_EQ(EnableBreakOnLibraryErrors(), 0);
    ::testing::internal::CaptureStderr();
    CVI_GetFileSize("/no/such/file", nullptr);
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("CVI_GetFileSize"), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
}
