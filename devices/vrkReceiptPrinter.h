#pragma once
// Receipt printing: the result receipt of one run on the serial receipt
// printer. The header rows and split rows come from the event database; this
// lays them out as the printer's command bytes (international character set
// 5, code table 0, sizes, underline and white-on-black numbers for types
// "EPR-3" and "Woosim Porti-S"; type "MTR2" receives nothing) and hands them
// to the printer's port, which sends them on its own output thread.

#include "platform/rtl/Component.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TSerComPort;

class TReceiptPrinter : public TComponent {
public:
    explicit TReceiptPrinter(TComponent* AOwner);
    ~TReceiptPrinter() override;

    // Prints the receipt of a run (the main window's printBadge).
    void printBadge(int64_t ResultsClassId);

    // The printer's port: a device path, empty for none.
    void SetPort(const QString& Path);
    QString Port() const;

    // The bytes of one receipt for a printer type (empty for types other
    // than 1 and 2). Reads the rows through the data module; the split rows'
    // errors are logged, rolled back and raised again.
    static QByteArray ReceiptBytes(int64_t ResultsClassId, int PrinterType);
    // Header texts in the printer's code page 437.
    static QByteArray convert_ASCII(const QString& Text);
    // Appends Ch to the end of Text up to Length characters.
    static QString LeftPad(const QString& Text, QChar Ch, int Length);

    TSerComPort* SerComPort1 = nullptr;
};

extern TReceiptPrinter* receiptPrinter;
