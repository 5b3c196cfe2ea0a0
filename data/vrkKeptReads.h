#pragma once
// Card reads the database refused to store (a full disk, a lost server, a
// damaged file): kept, oldest first, so that the desk can process them again
// once the database stores again, and nothing the runner's card gave is lost
// when the runner has gone home with the card. They are kept in memory and,
// where the disk allows, in a file of the program folder, so that a restart
// keeps them too. A read of the same card that is stored ends its keeping.

#include <QString>
#include <QStringList>

class TKeptReads {
public:
    // The file that holds them ("" keeps them in memory only); reads what an
    // earlier run left there.
    void SetFile(const QString& FileName);
    void Keep(const QString& EmitString);
    // A read of the card of EmitString was stored: its kept reads are done.
    void Stored(const QString& EmitString);
    void Remove(const QString& EmitString);
    const QStringList& Reads() const { return FReads; }
    bool IsEmpty() const { return FReads.isEmpty(); }

private:
    void Save() const;
    QString FFile;
    QStringList FReads;
};

// The card number of an emit string (its fourth field without quotes).
QString KeptReadCard(const QString& EmitString);
