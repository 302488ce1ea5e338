// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
/* xprobe.c: launches a program under X and measures it from outside, as a player meets it.
 *
 *   xprobe [-t TITLE] [-l X,Y,RRGGBB] [-i SECONDS] [-c X,Y,COUNT] -- PROGRAM ARGS...
 *
 * Prints one line of key=value figures:
 *   map_ms    process start to the MapNotify of its first top-level window whose title contains
 *             TITLE (seen as an X event on the root window, not by polling);
 *   look_ms   process start to the first time window point X,Y shows colour RRGGBB (or -1 if it
 *             does not within 10 s), the screen read in a tight loop;
 *   rss_kb, hwm_kb   VmRSS and VmHWM one second after the start;
 *   idle_cpu_ms, idle_wakeups   CPU time and context switches of all its threads over SECONDS
 *             of idling after that;
 *   click_ms  for COUNT real XTest clicks at window point X,Y: the time from the click to the
 *             first change of that pixel (median, min, max), clicks spaced beyond double-click.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void sleep_ms(double ms) {
    struct timespec t = {(time_t)(ms / 1000), (long)((ms - (time_t)(ms / 1000) * 1000) * 1e6)};
    nanosleep(&t, NULL);
}

static long status_field(pid_t pid, const char* task, const char* key) {
    char path[128], line[256];
    if (task)
        snprintf(path, sizeof path, "/proc/%d/task/%s/status", pid, task);
    else
        snprintf(path, sizeof path, "/proc/%d/status", pid);
    FILE* f = fopen(path, "r");
    long value = -1;
    if (!f)
        return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, key, strlen(key)) == 0)
            value = strtol(line + strlen(key), NULL, 10);
    fclose(f);
    return value;
}

/* CPU ticks (utime + stime) of the whole process. */
static long cpu_ticks(pid_t pid) {
    char path[64], buffer[1024];
    snprintf(path, sizeof path, "/proc/%d/stat", pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    buffer[n] = 0;
    char* p = strrchr(buffer, ')');
    long utime = 0, stime = 0;
    /* fields after the command: state(3) ... utime(14) stime(15) */
    sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld", &utime, &stime);
    return utime + stime;
}

/* Context switches, voluntary and not, summed over every thread. */
static long switches(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", pid);
    DIR* d = opendir(path);
    long total = 0;
    struct dirent* e;
    if (!d)
        return -1;
    while ((e = readdir(d)))
        if (e->d_name[0] != '.')
            total += status_field(pid, e->d_name, "voluntary_ctxt_switches:") +
                     status_field(pid, e->d_name, "nonvoluntary_ctxt_switches:");
    closedir(d);
    return total;
}

static unsigned long pixel_at(Display* dpy, int x, int y) {
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return p;
}

/* The screen point of window point X,Y. */
static void on_screen(Display* dpy, Window window, int* x, int* y) {
    Window child;
    XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), *x, *y, x, y, &child);
}

static void click(Display* dpy, int x, int y) {
    XTestFakeMotionEvent(dpy, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    XFlush(dpy);
}

static int by_value(const void* a, const void* b) {
    double d = *(const double*)a - *(const double*)b;
    return d < 0 ? -1 : d > 0;
}

int main(int argc, char** argv) {
    const char* title = "";
    double idle_s = 0;
    int cx = -1, cy = -1, count = 0, lx = -1, ly = -1, opt;
    unsigned long look = 0;
    while ((opt = getopt(argc, argv, "t:l:i:c:")) != -1) {
        if (opt == 't')
            title = optarg;
        else if (opt == 'l' && sscanf(optarg, "%d,%d,%lx", &lx, &ly, &look) != 3)
            return 2;
        else if (opt == 'i')
            idle_s = atof(optarg);
        else if (opt == 'c' && sscanf(optarg, "%d,%d,%d", &cx, &cy, &count) != 3)
            return 2;
    }
    if (optind >= argc) {
        fprintf(stderr,
                "usage: xprobe [-t TITLE] [-l X,Y,RRGGBB] [-i SECONDS] [-c X,Y,COUNT] -- PROGRAM "
                "ARGS...\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "xprobe: no display\n");
        return 1;
    }
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[optind], argv + optind);
        _exit(127);
    }

    Window window = 0;
    double mapped = -1;
    while (mapped < 0 && now_ms() - start < 30000) {
        if (!XPending(dpy)) {
            sleep_ms(0.2);
            continue;
        }
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type != MapNotify || event.xmap.override_redirect)
            continue;
        double at = now_ms();
        char* name = NULL;
        XFetchName(dpy, event.xmap.window, &name);
        if (getenv("XPROBE_VERBOSE"))
            fprintf(stderr, "xprobe: %.1f ms: mapped '%s'\n", at - start, name ? name : "");
        if (strstr(name ? name : "", title)) {
            mapped = at;
            window = event.xmap.window;
        }
        if (name)
            XFree(name);
    }
    if (mapped < 0) {
        fprintf(stderr, "xprobe: no window titled '%s' appeared\n", title);
        kill(pid, SIGKILL);
        return 1;
    }
    printf("map_ms=%.1f", mapped - start);

    if (lx >= 0) {
        on_screen(dpy, window, &lx, &ly);
        while (pixel_at(dpy, lx, ly) != look && now_ms() - mapped < 10000) {
        }
        printf(" look_ms=%.1f", pixel_at(dpy, lx, ly) == look ? now_ms() - start : -1.0);
    }

    double one_second = start + 1000 - now_ms();
    if (one_second > 0)
        sleep_ms(one_second);
    printf(" rss_kb=%ld hwm_kb=%ld", status_field(pid, NULL, "VmRSS:"),
           status_field(pid, NULL, "VmHWM:"));

    if (idle_s > 0) {
        long ticks = cpu_ticks(pid), woke = switches(pid);
        sleep_ms(idle_s * 1000);
        printf(" idle_cpu_ms=%ld idle_wakeups=%ld",
               (cpu_ticks(pid) - ticks) * 1000 / sysconf(_SC_CLK_TCK), switches(pid) - woke);
    }

    if (count > 0) {
        int x = cx, y = cy;
        on_screen(dpy, window, &x, &y);
        double* latency = calloc(count, sizeof *latency);
        int measured = 0;
        for (int i = 0; i < count; ++i) {
            unsigned long before = pixel_at(dpy, x, y);
            double clicked = now_ms();
            click(dpy, x, y);
            while (pixel_at(dpy, x, y) == before && now_ms() - clicked < 2000) {
            }
            latency[measured++] = now_ms() - clicked;
            sleep_ms(450);
            /* put it back, unmeasured, then wait out the double-click interval again */
            before = pixel_at(dpy, x, y);
            click(dpy, x, y);
            for (double t = now_ms(); pixel_at(dpy, x, y) == before && now_ms() - t < 2000;) {
            }
            sleep_ms(450);
        }
        qsort(latency, measured, sizeof *latency, by_value);
        double median = measured % 2 ? latency[measured / 2]
                                     : (latency[measured / 2 - 1] + latency[measured / 2]) / 2;
        printf(" click_ms_median=%.3f click_ms_min=%.3f click_ms_max=%.3f", median, latency[0],
               latency[measured - 1]);
        free(latency);
    }
    printf("\n");
    fflush(stdout);

    kill(pid, SIGTERM);
    for (int i = 0; i < 100 && waitpid(pid, NULL, WNOHANG) == 0; ++i)
        sleep_ms(10);
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
    XCloseDisplay(dpy);
    return 0;
}
