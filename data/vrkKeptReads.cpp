#include "data/vrkKeptReads.h"

#include <QFile>
#include <QSaveFile>

void TKeptReads::SetFile(const QString& FileName)
{
    FFile = FileName;
    QFile f(FFile);
    if (FFile.isEmpty() || !f.open(QIODevice::ReadOnly))
        return;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QStringLiteral("\n"), Qt::SkipEmptyParts)) {
        const QString read = line.trimmed();
        if (!read.isEmpty() && !FReads.contains(read))
            FReads << read;
    }
}

void TKeptReads::Keep(const QString& EmitString)
{
    if (EmitString.trimmed().isEmpty() || FReads.contains(EmitString))
        return;
    FReads << EmitString;
    Save();
}

void TKeptReads::Stored(const QString& EmitString)
{
    const QString card = KeptReadCard(EmitString);
    const qsizetype before = FReads.size();
    FReads.removeIf([&](const QString& r) { return r == EmitString || (!card.isEmpty() && KeptReadCard(r) == card); });
    if (FReads.size() != before)
        Save();
}

void TKeptReads::Remove(const QString& EmitString)
{
    if (FReads.removeAll(EmitString) > 0)
        Save();
}

void TKeptReads::Save() const
{
    if (FFile.isEmpty())
        return;
    if (FReads.isEmpty()) {
        QFile::remove(FFile);
        return;
    }
    // A disk too full for the file keeps them in memory: the next change
    // tries again.
    QSaveFile f(FFile);
    if (f.open(QIODevice::WriteOnly))
        f.write(FReads.join(QLatin1Char('\n')).toUtf8() + '\n') && f.commit();
}

QString KeptReadCard(const QString& EmitString)
{
    QString field = EmitString.section(QLatin1Char(','), 3, 3).trimmed();
    field.remove(QLatin1Char('"'));
    return field;
}
