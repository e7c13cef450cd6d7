#include "presentation/server_scale.h"

#include <allegro.h>
#include <cstdint>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xalleg.h>

#include <X11/extensions/Xrender.h>

#include "presentation/display.h"

// The library's X11 driver serves its display from a thread of its own (events, and repainting
// what is exposed), so every call here holds the driver's lock.

namespace {

struct ServerScaling {
    Display* display = nullptr;
    Placement where;
    int pictureW = 0;
    int pictureH = 0;
    Pixmap pixmap = None; // the picture, as sent
    GC gc = None;
    ::Picture source = None; // the pixmap, read through the scaling
    ::Picture window = None; // the library's window
    void (*libraryRedraw)(int, int, int, int) = nullptr;
    // Memory shared with the server, when the library's driver shares it too (a local
    // display): the picture is copied there and the server takes it without a socket.
    XImage* shared = nullptr;
    XShmSegmentInfo segment = {};
};

ServerScaling scaling;
bool running = false;

// The picture's part of the window within x, y, w, h, as the server shows it now.
void composite(int x, int y, int w, int h)
{
    const Placement& p = scaling.where;
    const int left = x > p.x ? x : p.x;
    const int top = y > p.y ? y : p.y;
    const int right = x + w < p.x + p.w ? x + w : p.x + p.w;
    const int bottom = y + h < p.y + p.h ? y + h : p.y + p.h;
    if (right <= left || bottom <= top)
        return;
    XRenderComposite(scaling.display, PictOpSrc, scaling.source, None, scaling.window, left - p.x,
                     top - p.y, 0, 0, left, top, right - left, bottom - top);
}

// What the server uncovers, the library repaints from its own copy of the screen, black where
// the picture is (it is never drawn there); the last picture is then shown over it again.
// The driver's thread calls this holding the lock.
void redraw(int x, int y, int w, int h)
{
    scaling.libraryRedraw(x, y, w, h);
    if (running)
        composite(x, y, w, h);
}

// The server keeps pixels as 0x00RRGGBB in 32 bits, as the library's 32-bit bitmaps do here.
bool layoutShared(Display* display)
{
    const Visual* visual = _xwin.visual;
    if (!visual || visual->c_class != TrueColor || _xwin.window_depth != 24 || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF)
        return false;
    if (_rgb_r_shift_32 != 16 || _rgb_g_shift_32 != 8 || _rgb_b_shift_32 != 0)
        return false;
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool thirtyTwo = false;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == 24)
            thirtyTwo = formats[i].bits_per_pixel == 32;
    if (formats)
        XFree(formats);
    return thirtyTwo;
}

void shareMemory(Display* display, int pictureW, int pictureH)
{
    if (!_xwin.use_shm)
        return;
    XShmSegmentInfo& segment = scaling.segment;
    XImage* image = XShmCreateImage(display, _xwin.visual, 24, ZPixmap, nullptr, &segment, pictureW, pictureH);
    if (!image)
        return;
    if (image->bits_per_pixel != 32 ||
        (segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * pictureH,
                                IPC_CREAT | 0600)) < 0) {
        XDestroyImage(image);
        return;
    }
    segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    segment.readOnly = False;
    if (segment.shmaddr == reinterpret_cast<char*>(-1) || !XShmAttach(display, &segment)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        image->data = nullptr;
        XDestroyImage(image);
        return;
    }
    XSync(display, False);
    // Gone from the system once both sides let go of it, however the game ends.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    scaling.shared = image;
}

bool start(Display* display, const Placement& where, int pictureW, int pictureH)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // Transforms and filters came with RENDER 0.6.
    if (!XRenderQueryExtension(display, &eventBase, &errorBase) || !XRenderQueryVersion(display, &major, &minor) ||
        (major == 0 && minor < 6) || !layoutShared(display))
        return false;
    XRenderPictFormat* windowFormat = XRenderFindVisualFormat(display, _xwin.visual);
    XRenderPictFormat* pictureFormat = XRenderFindStandardFormat(display, PictStandardRGB24);
    if (!windowFormat || !pictureFormat)
        return false;

    scaling.display = display;
    scaling.where = where;
    scaling.pictureW = pictureW;
    scaling.pictureH = pictureH;
    scaling.pixmap = XCreatePixmap(display, _xwin.window, pictureW, pictureH, 24);
    scaling.gc = XCreateGC(display, scaling.pixmap, 0, nullptr);
    scaling.source = XRenderCreatePicture(display, scaling.pixmap, pictureFormat, 0, nullptr);
    scaling.window = XRenderCreatePicture(display, _xwin.window, windowFormat, 0, nullptr);
    // The transform takes the window's pixels to the picture's, in 16-bit fixed point.
    const ScaleMap across = scaleMap(pictureW, where.w);
    const ScaleMap down = scaleMap(pictureH, where.h);
    XTransform transform = {{{across.step, 0, across.offset}, {0, down.step, down.offset}, {0, 0, XDoubleToFixed(1)}}};
    XRenderSetPictureTransform(display, scaling.source, &transform);
    XRenderSetPictureFilter(display, scaling.source, FilterNearest, nullptr, 0);
    // Black until the first picture comes.
    XSetForeground(display, scaling.gc, 0);
    XFillRectangle(display, scaling.pixmap, scaling.gc, 0, 0, pictureW, pictureH);

    shareMemory(display, pictureW, pictureH);

    scaling.libraryRedraw = _xwin_window_redrawer;
    _xwin_window_redrawer = redraw;
    running = true;
    return true;
}

} // namespace

bool startServerScaling(const Placement& where, int pictureW, int pictureH)
{
    if (running || !gfx_driver || (gfx_driver->id != GFX_XWINDOWS && gfx_driver->id != GFX_XWINDOWS_FULLSCREEN) ||
        bitmap_color_depth(screen) != 32 || !_xwin.display || _xwin.window == None)
        return false;
    XLOCK();
    const bool started = start(_xwin.display, where, pictureW, pictureH);
    XUNLOCK();
    return started;
}

void stopServerScaling()
{
    if (!running)
        return;
    XLOCK();
    _xwin_window_redrawer = scaling.libraryRedraw;
    if (scaling.shared) {
        XShmDetach(scaling.display, &scaling.segment);
        XSync(scaling.display, False);
        shmdt(scaling.segment.shmaddr);
        scaling.shared->data = nullptr;
        XDestroyImage(scaling.shared);
    }
    XRenderFreePicture(scaling.display, scaling.window);
    XRenderFreePicture(scaling.display, scaling.source);
    XFreeGC(scaling.display, scaling.gc);
    XFreePixmap(scaling.display, scaling.pixmap);
    XFlush(scaling.display);
    running = false;
    XUNLOCK();
    scaling = ServerScaling();
}

bool showServerScaled(BITMAP* picture)
{
    if (!running || !is_memory_bitmap(picture) || bitmap_color_depth(picture) != 32 ||
        picture->w != scaling.pictureW || picture->h != scaling.pictureH || picture->h < 2)
        return false;
    // The rows as one block, evenly spaced, as the library lays out a bitmap of its own.
    const long stride = picture->line[1] - picture->line[0];
    if (stride < picture->w * 4L || picture->line[picture->h - 1] - picture->line[0] != stride * (picture->h - 1))
        return false;

    XImage image = {};
    image.width = picture->w;
    image.height = picture->h;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(picture->line[0]);
#ifdef ALLEGRO_BIG_ENDIAN
    image.byte_order = MSBFirst;
    image.bitmap_bit_order = MSBFirst;
#else
    image.byte_order = LSBFirst;
    image.bitmap_bit_order = LSBFirst;
#endif
    image.bitmap_unit = 32;
    image.bitmap_pad = 32;
    image.depth = 24;
    image.bytes_per_line = static_cast<int>(stride);
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    if (!XInitImage(&image))
        return false;

    XLOCK();
    if (scaling.shared) {
        // The server has taken the last picture (it has done all it was asked) before this
        // one is written over it.
        XSync(scaling.display, False);
        XImage* shared = scaling.shared;
        for (int y = 0; y < picture->h; ++y)
            std::memcpy(shared->data + static_cast<size_t>(y) * shared->bytes_per_line, picture->line[y],
                        picture->w * 4);
        XShmPutImage(scaling.display, scaling.pixmap, scaling.gc, shared, 0, 0, 0, 0, picture->w, picture->h, False);
    } else {
        XPutImage(scaling.display, scaling.pixmap, scaling.gc, &image, 0, 0, 0, 0, picture->w, picture->h);
    }
    composite(scaling.where.x, scaling.where.y, scaling.where.w, scaling.where.h);
    XFlush(scaling.display);
    XUNLOCK();
    return true;
}
