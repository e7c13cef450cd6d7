#pragma once
// Reading the game's files safely, and saying why one could not be read.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Reading the game's art and sound files, and telling the player which one failed and why.

// Reads the whole regular file at `path` into `bytes`, never blocking on it: a FIFO, a device
// or a directory is refused, and so is a file larger than `maxBytes`, before anything is read.
// False on failure, with `why` saying what was wrong ("missing", "not a regular file: ...").
bool readGameFile(const char* path, size_t maxBytes, std::vector<unsigned char>* bytes, std::string* why);

// Remembers the file that stopped start-up and what was wrong with it (the latest one wins).
void noteFileProblem(const char* path, const std::string& why);
void forgetFileProblem();
// The remembered problem, "" when there is none.
std::string fileProblemPath();
std::string fileProblemWhy();

// Writes which file failed, why, and the folder the game looked in. Nothing without a problem.
void reportFileProblem(FILE* out);
