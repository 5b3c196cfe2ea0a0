// sorvex-scramble TEXT...: prints each text scrambled, one a line, for the
// USER_NAME and PASSWORD keys of vrkEventSystem.ini.

#include "tools/scramble/Scramble.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: sorvex-scramble TEXT...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", qPrintable(ScrambleText(QString::fromLocal8Bit(argv[i]))));
    return 0;
}
