// icon_writer.cpp: writes the cap icon as PNG files for the desktop's icon theme.
#include "cap_icon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

// Usage: icon_writer DIR SIZE... -- writes DIR/SIZExSIZE/apps/trebalune.png for each size.
int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIR SIZE...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString folder = QString("%1/%2x%2/apps").arg(argv[1]).arg(size);
        if (!QDir().mkpath(folder) || !drawCap(size).save(folder + "/trebalune.png")) {
            std::fprintf(stderr, "cannot write the %d px icon under %s\n", size, argv[1]);
            return 1;
        }
    }
    return 0;
}
