#include "devices/vrkReceiptPrinter.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkDbMethod.h"
#include "devices/serial/SerComPort.h"
#include "devices/vrkEmitReader.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"

TReceiptPrinter* receiptPrinter = nullptr;

namespace {

constexpr char LF = 10;

// Code page 437 bytes of the Latin-1 letters it has; the printers are set to
// that table (ESC t 0), so a letter outside it is printed as "?".
char Cp437(QChar C)
{
    const ushort u = C.unicode();
    if (u < 0x80)
        return static_cast<char>(u);
    static const struct {
        ushort Unicode;
        unsigned char Byte;
    } table[] = {{0xC7, 0x80}, {0xFC, 0x81}, {0xE9, 0x82}, {0xE2, 0x83}, {0xE4, 0x84}, {0xE0, 0x85}, {0xE5, 0x86},
                 {0xE7, 0x87}, {0xEA, 0x88}, {0xEB, 0x89}, {0xE8, 0x8A}, {0xEF, 0x8B}, {0xEE, 0x8C}, {0xEC, 0x8D},
                 {0xC4, 0x8E}, {0xC5, 0x8F}, {0xC9, 0x90}, {0xE6, 0x91}, {0xC6, 0x92}, {0xF4, 0x93}, {0xF6, 0x94},
                 {0xF2, 0x95}, {0xFB, 0x96}, {0xF9, 0x97}, {0xFF, 0x98}, {0xD6, 0x99}, {0xDC, 0x9A}, {0xA2, 0x9B},
                 {0xA3, 0x9C}, {0xA5, 0x9D}, {0xE1, 0xA0}, {0xED, 0xA1}, {0xF3, 0xA2}, {0xFA, 0xA3}, {0xF1, 0xA4},
                 {0xD1, 0xA5}, {0xB0, 0xF8}};
    for (const auto& e : table)
        if (e.Unicode == u)
            return static_cast<char>(e.Byte);
    return '?';
}

QByteArray Bytes(std::initializer_list<int> Values)
{
    QByteArray b;
    for (int v : Values)
        b.append(static_cast<char>(v));
    return b;
}

// Right-aligned in Width characters, blanks in front; longer texts unchanged.
QString RightAligned(const QString& Text, int Width)
{
    return Text.length() >= Width ? Text : QString(Width - Text.length(), QLatin1Char(' ')) + Text;
}

// The split rows of the run, one line each, as the printer gets them.
QByteArray SplitLines(int64_t ResultsClassId)
{
    QByteArray out;
    TDbMethodOptions o;
    o.LogStyle = TDbLogStyle::Others;
    o.MessagePrefix = fdtxt::Exception + QLatin1Char(' ');
    o.Reraise = true;
    o.Commit = false;
    o.ReadOnly = true;
    RunDbMethod(QStringLiteral("printBadge.printSplitTimes"), *DataModule1->fbTrUpdateCallFD, [&] {
        TFbQuery& q = SetStatement(*DataModule1->fbUpdateDefaultFD,
            {QStringLiteral("SELECT OUT_CONTROL, OUT_CONTROL_CODE, OUT_SPLIT_TIME, OUT_TOTAL_TIME FROM "
                            "E_CHIP_PRINT.GET_SPLITS_EPR3(:IN_RESULTS_CLASS_ID, :IN_LANGUAGE_CODE) ")});
        q.ParamByName(QStringLiteral("IN_RESULTS_CLASS_ID")).SetAsLargeInt(ResultsClassId);
        DataModule1->SetLanguage(q);
        q.Open();
        while (!q.Eof()) {
            const TField* control = q.FieldByName(QStringLiteral("OUT_CONTROL"));
            const QString split = NullStr(q, QStringLiteral("OUT_SPLIT_TIME"));
            if (control->IsNull())
                out += "  ";
            else {
                const QByteArray number = QByteArray::number(control->AsInteger()).rightJustified(2, '0');
                out += split.isEmpty() ? number : Bytes({29, 66, 17}) + number + Bytes({29, 66, 0});
            }
            out += TReceiptPrinter::convert_ASCII(RightAligned(NullStr(q, QStringLiteral("OUT_CONTROL_CODE")), 6));
            out += TReceiptPrinter::convert_ASCII(RightAligned(split, 10));
            out += TReceiptPrinter::convert_ASCII(RightAligned(NullStr(q, QStringLiteral("OUT_TOTAL_TIME")), 10));
            out += LF;
            q.Next();
        }
        q.Close();
        if (!DataModule1->ReadingTogether())
            DataModule1->fbTrUpdateCallFD->Commit();
    }, o);
    return out;
}

}  // namespace

TReceiptPrinter::TReceiptPrinter(TComponent* AOwner) : TComponent(AOwner)
{
    SetName(QStringLiteral("ReceiptPrinter"));
    SerComPort1 = new TSerComPort(this);
    SerComPort1->SetName(QStringLiteral("SerComPort1"));
    SerComPort1->SetBaud(9600);
}

TReceiptPrinter::~TReceiptPrinter()
{
    if (receiptPrinter == this)
        receiptPrinter = nullptr;
}

void TReceiptPrinter::SetPort(const QString& Path)
{
    if (SerComPort1->Open())
        SerComPort1->SetOpen(false);
    SerComPort1->SetComPath(Path);
}

QString TReceiptPrinter::Port() const
{
    return SerComPort1->ComPath();
}

QByteArray TReceiptPrinter::convert_ASCII(const QString& Text)
{
    QByteArray out;
    out.reserve(Text.length());
    for (QChar c : Text)
        out.append(Cp437(c));
    return out;
}

QString TReceiptPrinter::LeftPad(const QString& Text, QChar Ch, int Length)
{
    return Text.length() >= Length ? Text : Text + QString(Length - Text.length(), Ch);
}

QByteArray TReceiptPrinter::ReceiptBytes(int64_t ResultsClassId, int PrinterType)
{
    if (PrinterType != 1 && PrinterType != 2)
        return {};
    const bool epr3 = PrinterType == 1;
    // One transaction for the whole receipt: the header rows leave it open
    // and the split rows commit it.
    const QHash<int, QString> rows = DataModule1->getChipPrintRows(ResultsClassId, {81, 82, 83, 84, 86}, false);
    auto row = [&rows](int Number) { return rows.value(Number); };
    QByteArray out = Bytes({27, 82, 5, 27, 116, 0, LF});
    if (epr3)
        out += Bytes({29, 33, 1});
    out += convert_ASCII(row(81)) + LF;
    if (epr3)
        out += Bytes({29, 33, 0});
    out += convert_ASCII(row(82)) + LF + LF;
    out += convert_ASCII(row(83)) + LF;
    const QString row84 = row(84);
    if (row84.length() > 1)
        out += convert_ASCII(row84) + LF;
    out += LF;
    if (epr3)
        out += Bytes({29, 33, 1, 27, 45, 73});
    out += convert_ASCII(LeftPad(row(86), QLatin1Char(' '), 21));
    if (epr3)
        out += Bytes({27, 45, 72, 29, 33, 0});
    out += LF;
    out += SplitLines(ResultsClassId);
    out += QByteArray(4, LF);
    return out;
}

void TReceiptPrinter::printBadge(int64_t ResultsClassId)
{
    if (!formEmitReader || formEmitReader->cbbTulostinCom->ItemIndex() < 0)
        return;
    try {
        SetPort(formMain ? formMain->n_chip_printer_com : formEmitReader->cbbTulostinCom->Text());
        const QByteArray bytes = ReceiptBytes(ResultsClassId, formMain ? formMain->n_chip_printer_type : 0);
        if (!bytes.isEmpty())
            SerComPort1->PutString(bytes);
    } catch (const std::exception& e) {
        if (SerComPort1->Open())
            SerComPort1->SetOpen(false);
        const auto* ex = dynamic_cast<const Exception*>(&e);
        const QString message = ex ? ex->Message() : QString::fromLocal8Bit(e.what());
        do_message(false, QStringLiteral("printBadge.OTHERS: ") + fdtxt::Exception + QLatin1Char(' ') + message,
                   MSG_ERROR);
        do_message(true, fdtxt::ReceiptFailed, MSG_ERROR);
    }
}
