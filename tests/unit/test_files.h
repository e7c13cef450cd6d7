#pragma once
// Files for the tests: the game's asset list, scratch directories, and byte-level writing.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// The game's files from tests/assets.list, in loading order ("sound/skok.wav", ...).
const std::vector<std::string>& assetFiles();
// The names under sound/ or bitmaps/ ("skok.wav"), in loading order.
std::vector<std::string> assetNamesIn(const std::string& folder);

// A fresh directory under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

bool readBytes(const std::string& path, Bytes* out);
bool writeBytes(const std::string& path, const Bytes& bytes);

// Little-endian fields, as BMP, TGA and WAV store them.
void put16(Bytes& b, uint32_t v);
void put32(Bytes& b, uint32_t v);
void set16(Bytes& b, size_t at, uint32_t v);
void set32(Bytes& b, size_t at, uint32_t v);
