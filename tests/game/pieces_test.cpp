// Piece supply and the end of a game: drawing the next piece, bringing it in, game over and
// the record judgements that come with it.
#include "game_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>

#include "board.h"
#include "fall.h"
#include "game_sounds.h"
#include "game_state.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

namespace {

const char *const lostPlain = "Sorry, you have lost the game.\nClick Start to start over.";
const char *const lostWithScoreRecord =
    "Sorry, you have lost the game.\nBut you have created a new Score record.\n"
    "Congratulations!\nClick Start to start over.";
const char *const speedRecord =
    "You have created a new Speed record.\nSpeed is defined by how many seconds you complete "
    "a row.\nSpeed needs at least 10 rows to make the everage.";

std::string popup(const char *message) {
    return std::string("MessagePopup(Game Over, ") + message + ")";
}

class PiecesTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startRunningGame();
        SetRandomSeed(31337);
        setNextPiece();
        fake::ui.log.clear();
    }

    // Ends the game at the next piece: every shape covers its pivot cell at the entry place.
    static void blockTheEntryAndBringTheNextPiece() {
        board[5][1] = 2;
        NewPiece();
    }
};

TEST_F(PiecesTest, SetNextPieceDrawsTheShapeThenTheColour) {
    for (int seed : {5, 86400, 1700000000}) {
        SetRandomSeed(seed);
        SetRandomSeed(seed); // seeding twice before a draw changes nothing
        double shapeDraw = Random(0.0, 1.0), colourDraw = Random(0.0, 1.0);
        SetRandomSeed(seed);
        nextPiece = Piece{9, 9, 9, 9, 9};
        setNextPiece();
        Piece expected{static_cast<int>(7.0 * shapeDraw), 5, 1, 0,
                       static_cast<int>(1.0 + 6.0 * colourDraw)};
        EXPECT_EQ(nextPiece, expected) << seed;
    }
}

TEST_F(PiecesTest, TheSameSeedGivesTheSamePieces) {
    auto pieces = [](int seed) {
        SetRandomSeed(seed);
        std::vector<std::pair<int, int>> drawn;
        for (int i = 0; i < 100; i++) {
            setNextPiece();
            drawn.emplace_back(nextPiece.shape, nextPiece.colour);
        }
        return drawn;
    };
    std::vector<std::pair<int, int>> first = pieces(1700000000);
    EXPECT_EQ(pieces(1700000000), first);
    EXPECT_NE(pieces(1700000001), first);
    std::set<int> shapes;
    for (const auto &piece : first) {
        shapes.insert(piece.first);
    }
    EXPECT_EQ(shapes.size(), 7u);
}

TEST_F(PiecesTest, ANewPieceEntersAtTheTopAndThePreviewShowsTheOneAfter) {
    currentPiece = Piece{1, 9, 14, 3, 2}; // wherever the last piece ended
    Piece entering = nextPiece;
    NewPiece();
    EXPECT_EQ(currentPiece, (Piece{entering.shape, 5, 1, 0, entering.colour}));
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));

    std::multiset<std::pair<double, double>> previewCells, expected;
    for (const auto &[handle, plot] : fake::ui.plots[PANEL_NEXT]) {
        previewCells.insert({plot.x, plot.y});
        EXPECT_EQ(plot.bitmap, colourBitmaps[nextPiece.colour]);
    }
    for (const auto &[c, r] : pieceCells(nextPiece)) {
        expected.insert({10.0 * (2 - (c - 5)), 10.0 * (2 - (r - 1))});
    }
    EXPECT_EQ(previewCells, expected);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_TRUE(popups().empty());
}

TEST_F(PiecesTest, GameOverStopsTheGameThenJudgesBothRecordsInOrder) {
    // The game raised the score record to 50 (written when it was set) over 20 at its start.
    writeRecordsFile("700\n420\n50\n4.500000\n");
    scoreRecordAtStart = 20;
    rowsCompleted = 10;
    time_t before = time(NULL);
    gameStartTime = before - 40;
    fake::ui.onPopup = [](const std::string &, const std::string &message) {
        if (message == lostWithScoreRecord) {
            EXPECT_EQ(gameRunning, 0);
            EXPECT_EQ(pauseActive, 0);
            EXPECT_EQ(highScore, 50); // read back from the file before the message
        }
    };
    pauseActive = 1;
    Piece entering = nextPiece;
    blockTheEntryAndBringTheNextPiece();
    time_t after = time(NULL);

    // Ten rows in forty seconds: four seconds a row, beating 4.5.
    EXPECT_GE(highSpeed, 4.0f);
    EXPECT_LE(highSpeed, 4.0f + static_cast<float>(after - before) / 10.0f);
    char shown[32];
    std::snprintf(shown, sizeof shown, "ResetTextBox(1, 12, %.2f)", static_cast<double>(highSpeed));
    const std::vector<std::string> expected = {
        "SetCtrlAttribute(1, 15, 1271, 0)",
        "SetCtrlVal(1, 11, 0)",
        "SetCtrlAttribute(1, 8, 500, 0)",
        "SetCtrlAttribute(1, 5, 500, 1)",
        soundCall(GAME_OVER_SOUND),
        popup(lostWithScoreRecord),
        soundCall(SCORE_RECORD_SOUND),
        shown,
        popup(speedRecord),
        soundCall(SPEED_RECORD_SOUND),
    };
    int stop = fake::find("SetCtrlAttribute(1, 15, 1271, 0)");
    ASSERT_GE(stop, 0);
    EXPECT_EQ(std::vector<std::string>(fake::ui.log.begin() + stop, fake::ui.log.end()), expected);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(pauseActive, 0);

    // The piece that did not fit is neither painted nor stored; the preview shows one more.
    EXPECT_TRUE(fake::ui.plots[PANEL_BOARD].empty());
    EXPECT_EQ(currentPiece.shape, entering.shape);
    EXPECT_EQ(fake::ui.plots[PANEL_NEXT].size(), 4u);
    EXPECT_EQ(board[5][1], 2);

    char file[64];
    std::snprintf(file, sizeof file, "700\n420\n50\n%f\n", static_cast<double>(highSpeed));
    EXPECT_EQ(readRecordsFile(), file);
}

TEST_F(PiecesTest, ASpeedNeedsTenRowsAndAStrictlyLowerTime) {
    struct Case {
        int rows;
        int seconds;
        const char *stored;
        bool newRecord;
    } cases[] = {
        {9, 9, "4.500000", false},   // a second a row, but only nine rows
        {10, 40, "4.500000", true},  // four seconds a row beats 4.5
        {10, 40, "4.000000", false}, // equalling the record is not enough
        {10, 40, "0.000000", false}, // nothing beats a stored 0
    };
    for (const Case &test : cases) {
        fake::ui.log.clear();
        std::string records = std::string("792\n461\n0\n") + test.stored + "\n";
        writeRecordsFile(records);
        board[5][1] = 0;
        gameRunning = 1;
        scoreRecordAtStart = 0;
        rowsCompleted = test.rows;
        gameStartTime = time(NULL) - test.seconds;
        blockTheEntryAndBringTheNextPiece();
        std::vector<std::string> expected = {popup(lostPlain)};
        if (test.newRecord) {
            expected.push_back(popup(speedRecord));
            EXPECT_NEAR(highSpeed, 4.0, 0.11) << test.rows << " " << test.stored;
        } else {
            EXPECT_FLOAT_EQ(highSpeed, std::stof(test.stored)) << test.rows << " " << test.stored;
            EXPECT_EQ(readRecordsFile(), records);
        }
        EXPECT_EQ(popups(), expected) << test.rows << " rows, stored " << test.stored;
    }
}

TEST_F(PiecesTest, EqualingTheScoreRecordIsNotANewRecord) {
    writeRecordsFile("792\n461\n120\n9999.000000\n");
    scoreRecordAtStart = 120;
    blockTheEntryAndBringTheNextPiece();
    EXPECT_EQ(popups(), std::vector<std::string>{popup(lostPlain)});
    EXPECT_EQ(sounds(), std::vector<std::string>{soundCall(GAME_OVER_SOUND)});
}

TEST_F(PiecesTest, WithSoundOffGameOverPlaysNothingButShowsTheSameMessages) {
    auto playLostGame = [](int sound) {
        fake::ui.log.clear();
        writeRecordsFile("792\n461\n300\n9999.000000\n");
        board[5][1] = 0;
        gameRunning = 1;
        soundOn = sound;
        scoreRecordAtStart = 100;
        rowsCompleted = 12;
        gameStartTime = time(NULL) - 60;
        blockTheEntryAndBringTheNextPiece();
    };
    playLostGame(1);
    std::vector<std::string> withSound = popups();
    EXPECT_EQ(withSound.size(), 2u);
    EXPECT_EQ(sounds().size(), 3u);
    playLostGame(0);
    EXPECT_EQ(popups(), withSound);
    EXPECT_TRUE(sounds().empty());
}

TEST_F(PiecesTest, OnlyShapeFiveFitsBesideACellFixedBelowTheEntry) {
    for (int shape = 0; shape < 7; shape++) {
        std::memset(board, 0, sizeof board);
        board[5][2] = 1;
        gameRunning = 1;
        fake::ui.log.clear();
        nextPiece = Piece{shape, 5, 1, 0, 3};
        NewPiece();
        bool fits = shape == 5;
        EXPECT_EQ(gameRunning, fits ? 1 : 0) << "shape " << shape;
        EXPECT_EQ(popups().size(), fits ? 0u : 1u) << "shape " << shape;
    }
}

} // namespace
