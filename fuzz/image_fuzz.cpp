// Any bytes, read as a BMP and as a TGA: a refusal with a reason, or a picture of a size the
// game accepts with every pixel set. A crash or a sanitizer report fails the run.
#include <cstdint>
#include <cstdlib>

#include "presentation/image_decode.h"

namespace {

void check(bool decoded, const Picture& picture, const std::string& why)
{
    if (!decoded) {
        if (why.empty())
            std::abort();
        return;
    }
    if (picture.width < 1 || picture.height < 1 || picture.width > maxImageSide || picture.height > maxImageSide ||
        picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height)
        std::abort();
    for (uint32_t c : picture.rgb)
        if (c > 0xffffff)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Picture bmp, tga;
    std::string whyBmp, whyTga;
    check(decodeBmp(data, size, &bmp, &whyBmp), bmp, whyBmp);
    check(decodeTga(data, size, &tga, &whyTga), tga, whyTga);
    return 0;
}
