// emitsim: an Emit 250 card reader on a pseudo-terminal.
//
//   emitsim [--repeat N] [--path-file FILE] [CARD ...]
//
// Prints the path of the reader's port (open it in the program's settings).
// Each line typed on standard input then puts a card on the reader: a card
// description, or an empty line for the next CARD of the command line (the
// last card again when they are used up); "q" ends. A card is "NUMBER[:WEEK:YEAR][,CODE/TIME]...", for example
// 12345:12:19,31/528,32/600,250/700. Each card lies on the reader for N frames
// (default 4, about a second at 9600 baud).

#include "platform/comm/PseudoTerminal.h"
#include "tools/emitsim/EmitSimulator.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

static bool Place(TEmitSimulator& Sim, const QString& Text, int Repeats)
{
    TEmitCard card;
    if (!TEmitCard::Parse(Text, card)) {
        std::fprintf(stderr, "emitsim: cannot read the card \"%s\"\n", qPrintable(Text));
        return false;
    }
    std::printf("card %u on the reader (%d frames)\n", card.Number, Repeats);
    std::fflush(stdout);
    if (!Sim.PlaceCard(card, Repeats)) {
        std::fprintf(stderr, "emitsim: the line failed\n");
        return false;
    }
    std::printf("card %u lifted\n", card.Number);
    std::fflush(stdout);
    return true;
}

int main(int argc, char** argv)
{
    int repeats = 4;
    QString pathFile;
    QStringList cards;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc)
            repeats = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--path-file") && i + 1 < argc)
            pathFile = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--help")) {
            std::printf("usage: emitsim [--repeat N] [--path-file FILE] [CARD ...]\n"
                        "CARD: NUMBER[:WEEK:YEAR][,CODE/TIME]...\n");
            return 0;
        } else
            cards << QString::fromLocal8Bit(argv[i]);
    }
    TPseudoTerminal pty;
    if (!pty.Open()) {
        std::perror("emitsim: pseudo-terminal");
        return 1;
    }
    std::printf("reader on %s\n", qPrintable(pty.SlavePath()));
    std::fflush(stdout);
    if (!pathFile.isEmpty()) {
        QFile f(pathFile);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(pty.SlavePath().toLocal8Bit() + '\n');
    }
    TEmitSimulator sim(pty.MasterFd());
    QString last;
    std::printf("press Enter to put a card on the reader\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        QString text = QString::fromLocal8Bit(line.c_str()).trimmed();
        if (text == QLatin1String("q"))
            break;
        if (text.isEmpty())
            text = cards.isEmpty() ? last : cards.takeFirst();
        if (text.isEmpty())
            continue;
        if (Place(sim, text, repeats))
            last = text;
    }
    return 0;
}
