// dialwick-facewatch: how late a clock's face turns after the true second.
// It reads a rectangle of an X display (the clock window under Wine) about
// once a millisecond and, for each second, notes how far into the second
// the rectangle first changed, by the system clock Wine's clock reads too.
// usage: dialwick-facewatch X Y WIDTH HEIGHT SECONDS   (on $DISPLAY)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <vector>

static double Now()
{
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (double)t.tv_sec + t.tv_nsec / 1e9;
}

// The rectangle's pixels, or false when the display refuses them.
static bool Grab(Display *display, int x, int y, int width, int height, std::vector<unsigned long> *pixels)
{
    XImage *image =
        XGetImage(display, DefaultRootWindow(display), x, y, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    pixels->resize((size_t)width * height);
    for (int row = 0; row < height; row++)
        for (int column = 0; column < width; column++)
            (*pixels)[(size_t)row * width + column] = XGetPixel(image, column, row);
    XDestroyImage(image);
    return true;
}

int main(int argc, char **argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: dialwick-facewatch X Y WIDTH HEIGHT SECONDS\n");
        return 2;
    }
    int x = atoi(argv[1]), y = atoi(argv[2]), width = atoi(argv[3]), height = atoi(argv[4]);
    double seconds = atof(argv[5]);
    Display *display = XOpenDisplay(nullptr);
    if (!display || width <= 0 || height <= 0) {
        fprintf(stderr, "dialwick-facewatch: no display, or an empty rectangle\n");
        return 1;
    }
    std::vector<unsigned long> last, pixels;
    if (!Grab(display, x, y, width, height, &last)) {
        fprintf(stderr, "dialwick-facewatch: cannot read the rectangle\n");
        return 1;
    }
    std::vector<double> late;  // milliseconds into the second of its first change
    long lastSecond = -1;
    long polls = 0;
    double start = Now(), end = start + seconds;
    timespec pause = {0, 1000000};
    for (double now = start; now < end; now = Now()) {
        nanosleep(&pause, nullptr);
        if (!Grab(display, x, y, width, height, &pixels))
            break;
        polls++;
        if (pixels == last)
            continue;
        last.swap(pixels);
        double seen = Now();
        long second = (long)seen;
        if (second != lastSecond) {
            late.push_back((seen - second) * 1000.0);
            lastSecond = second;
        }
    }
    double wall = Now() - start;
    XCloseDisplay(display);
    if (late.empty()) {
        printf("seconds: %.1f\nturns: 0\n", wall);
        return 0;
    }
    std::sort(late.begin(), late.end());
    printf("seconds: %.1f\nturns: %zu\npoll: %.2f\nmedian: %.1f\np99: %.1f\nmax: %.1f\n", wall, late.size(),
           1000.0 * wall / polls, late[late.size() / 2], late[(late.size() * 99) / 100], late.back());
    return 0;
}
