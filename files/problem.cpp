#include "files/files.h"

#include <climits>
#include <unistd.h>

namespace {

std::string problemPath;
std::string problemWhy;

} // namespace

void noteFileProblem(const char* path, const std::string& why)
{
    problemPath = path ? path : "";
    problemWhy = why;
}

void forgetFileProblem()
{
    problemPath.clear();
    problemWhy.clear();
}

std::string fileProblemPath()
{
    return problemPath;
}

std::string fileProblemWhy()
{
    return problemWhy;
}

void reportFileProblem(FILE* out)
{
    if (problemPath.empty())
        return;
    char cwd[PATH_MAX];
    const char* folder = getcwd(cwd, sizeof cwd) ? cwd : "(the current folder, whose name cannot be read)";
    std::fprintf(out, "River Duel cannot load %s: %s.\n", problemPath.c_str(), problemWhy.c_str());
    // The files are found relative to the folder the game is started from, which is the usual
    // surprise for someone starting build/riverduel from the source tree.
    std::fprintf(out,
                 "It looks for its files in %s, the folder it was started from;\n"
                 "start it from the folder that holds bitmaps/ and sound/.\n",
                 folder);
    std::fflush(out);
}
