// Any bytes, read as a recording: a refusal with a reason, or a recording that holds
// together and is written back to bytes that read as the same recording. A crash or a
// sanitizer report fails the run.
#include <cstdint>
#include <cstdlib>

#include "recording/recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Recording recording;
    const std::string why = decodeRecording(data, size, recording);
    if (!why.empty())
        return 0;
    if (recording.passes.size() > maxRecordedPasses || (recording.finished && recording.passes.empty()) ||
        (recording.finished && recording.tornBytes != 0) || recording.tornBytes >= size ||
        recording.build.empty() || recording.build.size() > maxBuildLength)
        std::abort();
    for (size_t i = 0; i < recording.passes.size(); ++i)
        if ((recording.passes[i] & 0x80) || ((recording.passes[i] & 0x40) && i + 1 != recording.passes.size()))
            std::abort();
    const std::vector<uint8_t> again = encodeRecording(recording);
    Recording back;
    if (!decodeRecording(again.data(), again.size(), back).empty() || back.passes != recording.passes ||
        back.finished != recording.finished || back.build != recording.build ||
        back.start.seed != recording.start.seed || back.geometry.bridgeHeight != recording.geometry.bridgeHeight ||
        (recording.finished && back.finalState != recording.finalState))
        std::abort();
    return 0;
}
