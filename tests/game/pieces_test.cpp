// Piece supply and the end of a game: the Wichmann-Hill generator, drawing the next piece,
// bringing it in, game over and the record judgements that come with it.
#include "game_fixture.h"

#include <cmath>
#include <cstdio>

using RandomTest = GameTest;

// Wichmann-Hill (AS 183) written out from its definition, to check the game's generator by.
struct ReferenceGenerator {
    int s1, s2, s3;
    explicit ReferenceGenerator(int seed)
        : s1(seed & 0x3FFF), s2((s1 * 8191) & 0x3FFF), s3((s2 * 8191) & 0x3FFF) {}
    double next() {
        s1 = (171 * s1) % 30269;
        s2 = (172 * s2) % 30307;
        s3 = (170 * s3) % 30323;
        double x = s1 * (1.0 / 30269) + s2 * (1.0 / 30307) + s3 * (1.0 / 30323);
        return x - std::floor(x);
    }
};

TEST_F(RandomTest, KnownSeedsGiveTheWichmannHillValuesAgainAndAgain) {
    for (int seed : {1, 12345, 1, 1700000123, -1}) {
        SetRandomSeed(seed);
        SetRandomSeed(seed); // seeding twice before a draw changes nothing
        ReferenceGenerator reference(seed);
        for (int i = 0; i < 200; i++) {
            ASSERT_DOUBLE_EQ(Random(0.0, 1.0), reference.next()) << "seed " << seed << " #" << i;
        }
    }
    // The range scales the draw; an empty one still draws, a reversed one does not.
    ReferenceGenerator reference(99);
    SetRandomSeed(99);
    EXPECT_EQ(Random(5.0, 2.0), 5.0);
    EXPECT_DOUBLE_EQ(Random(3.0, 5.0), 3.0 + 2.0 * reference.next());
    EXPECT_EQ(Random(5.0, 2.0), 5.0);
    EXPECT_DOUBLE_EQ(Random(2.0, 2.0), 2.0);
    reference.next();
    EXPECT_DOUBLE_EQ(Random(0.0, 7.0), 7.0 * reference.next());
}

TEST_F(RandomTest, EverySeedGivesItsOwnEvenSequenceInRange) {
    // Seeds whose low fourteen bits are 0 would leave the generator stuck at 0.
    std::set<std::vector<int>> sequences;
    for (int seed : {20240601, 16384, 16384 * 3, 0x40000000, -16384}) {
        SetRandomSeed(seed);
        std::vector<int> colours, counts(8);
        for (int i = 0; i < 6000; i++) {
            colours.push_back(static_cast<int>(Random(1.0, 7.0)));
            counts.at(colours.back())++;
        }
        EXPECT_EQ(counts[0] + counts[7], 0) << "seed " << seed;
        EXPECT_LT(*std::max_element(counts.begin() + 1, counts.end() - 1), 1150) << "seed " << seed;
        sequences.insert(colours);
    }
    EXPECT_EQ(sequences.size(), 5u);
}

using PiecesTest = RunningGameTest;

TEST_F(PiecesTest, SetNextPieceDrawsTheShapeThenTheColour) {
    for (int seed : {5, 86400, 1700000000}) {
        SetRandomSeed(seed);
        double shapeDraw = Random(0.0, 1.0), colourDraw = Random(0.0, 1.0);
        SetRandomSeed(seed);
        nextPiece = Piece{9, 9, 9, 9, 9};
        setNextPiece();
        EXPECT_EQ(nextPiece, (Piece{int(7.0 * shapeDraw), 5, 1, 0, int(1.0 + 6.0 * colourDraw)}));
    }
}

TEST_F(PiecesTest, ANewPieceEntersAtTheTopAndThePreviewShowsTheOneAfter) {
    currentPiece = Piece{1, 9, 14, 3, 2}; // wherever the last piece ended
    Piece entering = nextPiece;
    fake::ui.log.clear();
    NewPiece();
    EXPECT_EQ(currentPiece, (Piece{entering.shape, 5, 1, 0, entering.colour}));
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    EXPECT_TRUE(popups().empty());
    // The preview shows the new next piece, drawn as the preview draws it.
    const Log previewPlots = calls("PlotBitmap(1, 2,");
    EXPECT_EQ(previewPlots.size(), 4u);
    for (const auto &[handle, plot] : fake::ui.plots[PANEL_NEXT]) {
        EXPECT_EQ(plot.bitmap, colourBitmaps[nextPiece.colour]);
    }
    fake::ui.log.clear();
    DisplayNextPiece();
    EXPECT_EQ(calls("PlotBitmap(1, 2,"), previewPlots);
}

TEST_F(PiecesTest, GameOverStopsTheGameThenJudgesEachRecordInOrder) {
    const std::string lost = "MessagePopup(Game Over, Sorry, you have lost the game.\n",
                      scoreRecord = "But you have created a new Score record.\nCongratulations!\n",
                      again = "Click Start to start over.)",
                      speedRecord = "MessagePopup(Game Over, You have created a new Speed record."
                                    "\nSpeed is defined by how many seconds you complete a row.\n"
                                    "Speed needs at least 10 rows to make the everage.)";
    // What; the score record in the file and at the game's start; the game's rows and seconds;
    // the speed record in the file; sound on; whether each record is new.
    const std::tuple<const char *, int, int, int, int, float, int, bool, bool> cases[] = {
        {"both records", 50, 20, 10, 40, 4.5f, 1, true, true},
        {"both records, sound off", 50, 20, 10, 40, 4.5f, 0, true, true},
        {"score record set in the game", 50, 20, 9, 9, 4.5f, 1, true, false},
        {"equal score record", 120, 120, 10, 40, 4.0f, 1, false, false},
        {"a second a row, but only nine rows", 0, 0, 9, 9, 4.5f, 1, false, false},
        {"four seconds a row beat 4.5", 0, 0, 10, 40, 4.5f, 1, false, true},
        {"equal speed record", 0, 0, 10, 40, 4.0f, 1, false, false},
        {"nothing beats a stored 0", 0, 0, 10, 40, 0.0f, 1, false, false},
    };
    for (const auto &[what, score, atStart, rows, seconds, speed, sound, newScore, newSpeed] :
         cases) {
        SCOPED_TRACE(what);
        auto records = [score = score](float speedRecordNow) {
            return "792\n461\n" + std::to_string(score) + "\n" + std::to_string(speedRecordNow) +
                   "\n";
        };
        writeRecordsFile(records(speed));
        soundOn = sound;
        gameRunning = pauseActive = 1;
        scoreRecordAtStart = atStart;
        rowsCompleted = rows;
        gameStartTime = time(NULL) - seconds;
        board[5][1] = 2; // every shape covers its pivot cell at the entry place
        fake::ui.log.clear();
        NewPiece();
        EXPECT_EQ(gameRunning + pauseActive, 0);
        Log expected = {"SetCtrlAttribute(1, 15, 1271, 0)", "SetCtrlVal(1, 11, 0)",
                        "SetCtrlAttribute(1, 8, 500, 0)", "SetCtrlAttribute(1, 5, 500, 1)"};
        auto play = [&, sound = sound](const char *file) {
            if (sound) {
                expected.push_back(soundCall(file));
            }
        };
        play(GAME_OVER_SOUND);
        expected.push_back(lost + (newScore ? scoreRecord : "") + again);
        if (newScore) {
            play(SCORE_RECORD_SOUND);
        }
        if (newSpeed) { // ten rows in forty seconds: four seconds a row
            EXPECT_NEAR(highSpeed, 4.0, 0.11);
            char shown[40];
            std::snprintf(shown, sizeof shown, "ResetTextBox(1, 12, %.2f)", double(highSpeed));
            expected.insert(expected.end(), {shown, speedRecord});
            play(SPEED_RECORD_SOUND);
        }
        int stop = fake::find(expected[0]);
        ASSERT_GE(stop, 0);
        EXPECT_EQ(Log(fake::ui.log.begin() + stop, fake::ui.log.end()), expected);
        EXPECT_EQ(readRecordsFile(), records(newSpeed ? highSpeed : speed));
        EXPECT_TRUE(fake::ui.plots[PANEL_BOARD].empty()); // the piece that did not fit
    }
}

TEST_F(PiecesTest, OnlyShapeFiveFitsBesideACellFixedBelowTheEntry) {
    board[5][2] = 1;
    for (int shape = 0; shape < 7; shape++) {
        gameRunning = 1;
        fake::ui.log.clear();
        nextPiece = Piece{shape, 5, 1, 0, 3};
        NewPiece();
        EXPECT_EQ(gameRunning, shape == 5 ? 1 : 0) << "shape " << shape;
        EXPECT_EQ(popups().size(), shape == 5 ? 0u : 1u) << "shape " << shape;
    }
}
