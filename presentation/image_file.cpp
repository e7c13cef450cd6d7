#include "presentation/image_file.h"

#include <allegro.h>
#include <cctype>
#include <cstring>
#include <vector>

#include "files/files.h"
#include "presentation/image_decode.h"

bool imageFormatFromPath(const char* path, ImageFormat* format)
{
    if (!path)
        return false;
    const size_t length = std::strlen(path);
    if (length < 4 || path[length - 4] != '.')
        return false;
    char ext[4];
    for (int i = 0; i < 3; ++i)
        ext[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(path[length - 3 + i])));
    ext[3] = '\0';
    if (std::strcmp(ext, "bmp") == 0) {
        *format = ImageFormat::BMP;
        return true;
    }
    if (std::strcmp(ext, "tga") == 0) {
        *format = ImageFormat::TGA;
        return true;
    }
    return false;
}

BITMAP* decodeImage(const unsigned char* data, size_t size, ImageFormat format, std::string* why)
{
    Picture picture;
    std::string reason;
    const bool decoded = format == ImageFormat::BMP ? decodeBmp(data, size, &picture, &reason)
                                                    : decodeTga(data, size, &picture, &reason);
    if (!decoded) {
        if (why)
            *why = reason;
        return nullptr;
    }
    BITMAP* bmp = create_bitmap(picture.width, picture.height);
    if (!bmp) {
        if (why)
            *why = "no memory for a picture of " + std::to_string(picture.width) + " x " + std::to_string(picture.height);
        return nullptr;
    }
    // makecol keeps the mask colour exact, so masked drawing finds the transparent parts.
    const uint32_t* rgb = picture.rgb.data();
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x, ++rgb)
            putpixel(bmp, x, y, makecol(*rgb >> 16, (*rgb >> 8) & 0xff, *rgb & 0xff));
    return bmp;
}

BITMAP* loadImage(const char* path)
{
    ImageFormat format;
    if (!imageFormatFromPath(path, &format)) {
        noteFileProblem(path, "not a .bmp or .tga file");
        return nullptr;
    }
    std::vector<unsigned char> bytes;
    std::string why;
    if (!readGameFile(path, maxImageFileBytes, &bytes, &why)) {
        noteFileProblem(path, why);
        return nullptr;
    }
    BITMAP* bmp = decodeImage(bytes.data(), bytes.size(), format, &why);
    if (!bmp)
        noteFileProblem(path, "damaged: " + why);
    return bmp;
}
