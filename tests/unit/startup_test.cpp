// A display that is there but momentarily busy must not stop the game from starting; a
// missing display must be reported at once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/system.h"

namespace {

int calls = 0;
int failuresLeft = 0;

int flakyStart()
{
    ++calls;
    return failuresLeft-- > 0 ? -1 : 0;
}

struct LibraryStart : ::testing::Test {
    std::string savedDisplay;
    bool hadDisplay = false;

    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        hadDisplay = display != nullptr;
        if (display)
            savedDisplay = display;
        calls = 0;
    }

    void TearDown() override
    {
        if (hadDisplay)
            setenv("DISPLAY", savedDisplay.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
};

TEST_F(LibraryStart, ABusyDisplayIsTriedAgainUntilItAnswers)
{
    setenv("DISPLAY", ":7", 1);
    failuresLeft = 3;
    EXPECT_TRUE(startLibrary(flakyStart, 10, 1));
    EXPECT_EQ(calls, 4);
}

TEST_F(LibraryStart, ADisplayThatNeverAnswersIsGivenUpAfterTheLastAttempt)
{
    setenv("DISPLAY", ":7", 1);
    failuresLeft = 1000;
    EXPECT_FALSE(startLibrary(flakyStart, 10, 1));
    EXPECT_EQ(calls, 10);
}

TEST_F(LibraryStart, WithoutADisplayItTriesOnce)
{
    failuresLeft = 1000;
    unsetenv("DISPLAY");
    EXPECT_FALSE(startLibrary(flakyStart, 10, 1));
    EXPECT_EQ(calls, 1);
    setenv("DISPLAY", "", 1);
    EXPECT_FALSE(startLibrary(flakyStart, 10, 1));
    EXPECT_EQ(calls, 2);
}

TEST_F(LibraryStart, AFirstSuccessIsTheOnlyAttempt)
{
    setenv("DISPLAY", ":7", 1);
    failuresLeft = 0;
    EXPECT_TRUE(startLibrary(flakyStart, 10, 1));
    EXPECT_EQ(calls, 1);
}

}  // namespace
