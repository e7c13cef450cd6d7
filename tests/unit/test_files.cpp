#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

const std::vector<std::string>& assetFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> out;
        std::ifstream list(RIVERDUEL_SOURCE_DIR "/tests/assets.list");
        std::string line;
        while (std::getline(list, line))
            if (!line.empty() && line[0] != '#')
                out.push_back(line);
        if (out.size() != 32)
            throw std::runtime_error("tests/assets.list should name 32 files");
        return out;
    }();
    return files;
}

std::vector<std::string> assetNamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const std::string& file : assetFiles())
        if (file.compare(0, folder.size() + 1, folder + "/") == 0)
            names.push_back(file.substr(folder.size() + 1));
    return names;
}

TempDir::TempDir()
{
    char name[] = "/tmp/riverduel-test-XXXXXX";
    if (!mkdtemp(name))
        throw std::runtime_error("no scratch directory");
    path_ = name;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

bool readBytes(const std::string& path, Bytes* out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream to(path, std::ios::binary | std::ios::trunc);
    to.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(to);
}

void put16(Bytes& b, uint32_t v)
{
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

void set16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = v & 0xff;
    b[at + 1] = (v >> 8) & 0xff;
}

void set32(Bytes& b, size_t at, uint32_t v)
{
    set16(b, at, v & 0xffff);
    set16(b, at + 2, v >> 16);
}
