#pragma once
// The Emit 250 card reader: frames, the frame assembler and the emit string.
//
// The reader sends a card's content again and again while the card lies on
// it, every byte XOR $DF. A frame starts at a sync mark (two decoded $FF
// bytes); a card is accepted when two consecutive complete frames carry the
// same content, and the accepted frame becomes the emit string, the one-line
// text form of a card read that the rest of the program passes on unchanged.
//
// Below the frame classes: the device form TFormEmitReader, which owns the
// reader's serial port, starts, stops, enables and disables it, and passes
// each confirmed card through the repeat filter to the card dispatch.

#include "platform/ui/Forms.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

// One frame under assembly. Slots are numbered from 1; byte k of the frame is
// frameBytes[k].
class T250Frame {
public:
    static constexpr int SlotCount = 220;
    static constexpr int MaxBytes = 216;
    // The reader's whole frame: 216 bytes and its checksum byte, which makes
    // bytes 1 to 217 sum to 0 modulo 256.
    static constexpr int FullLength = 217;

    T250Frame();

    // Stores the value in the next slot while the frame holds fewer than 216
    // bytes; later bytes are dropped.
    void add(int value);
    // The card number in decimal, "-1" while fewer than 9 bytes are stored.
    QString getBadgeNo() const;
    int getProductionWeek() const { return frameBytes[7]; }
    int getProductionYear() const { return frameBytes[8]; }
    // The fifty punch slots as "ccc,ttttt" joined by ",".
    QString getSplits() const;
    // The emit string, read time now (local time, taken once).
    QString toEmitString() const;
    QString toEmitString(const QDateTime& ReadTime) const;
    // The comparison form: week, year, card number and the fifty slots; the
    // time of a slot with code 250 counts as 0.
    QString toString() const;

    // Whether bytes 3 to 10 (the card number up to the reader's check byte)
    // sum to 0 modulo 256, as in every frame the reader sends.
    bool CheckByteValid() const;
    // Whether the frame arrived whole and unchanged: every byte up to the
    // checksum byte, and bytes 1 to 217 summing to 0 modulo 256. Only such
    // frames are trusted.
    bool WholeAndSound() const;
    int TakenBytes() const { return FtakenBytes; }
    // Whether the frame begins with a sync mark (and not with whatever came
    // after a pause or after a confirmed card).
    bool StartsAtSync() const { return frameBytes[1] == 0xFF && frameBytes[2] == 0xFF; }
    int CardNumber() const { return frameBytes[3] + 256 * frameBytes[4] + 65536 * frameBytes[5]; }
    int ByteCount() const { return FcurByte - 1; }

    int frameBytes[SlotCount + 1];
    int FcurByte = 1;
    // The frame began in a run of three or more $FF bytes and no single
    // alignment of the run passed the reader's check byte: its content cannot
    // be trusted, so it never confirms a card and never matches another frame.
    bool FUnaligned = false;

private:
    friend class T250Read;
    // Bytes are counted and summed also past slot 216, where add() drops
    // them, so the checksum byte can be checked without storing it.
    int FtakenBytes = 0;
    int FfullSum = 0;
};

// The reader's frame state: the frame under assembly, the previous complete
// frame, the last decoded byte and the time of the last byte taken.
class T250Read {
public:
    using TGetChar = std::function<int()>;
    using TProcessEmit = std::function<void(const QString& EmitString)>;

    T250Read();
    ~T250Read();

    // Replaces the frame under assembly by a new empty frame (the repeat
    // filter does this after every confirmed card).
    void NewFrame();

    // Frame assembly for one data notification of the reader port: Count bytes
    // are available and GetChar takes the next one. Each confirmed card goes
    // to ProcessEmit; after it the rest of the notification stays unread.
    void HandleBytes(int Count, const TGetChar& GetChar, const TProcessEmit& ProcessEmit);

    T250Frame* Frame() const { return Fframe.get(); }
    T250Frame* PrevFrame() const { return FprevFrame.get(); }
    int Prev() const { return Fprev; }

    // Milliseconds of a steady clock; tests replace it to play pauses.
    static std::function<int64_t()> Clock;

private:
    void TakeByte(int d, int64_t now, const TProcessEmit& ProcessEmit, bool& Stop);
    void ResolveAlignment();
    // A frame that began at a sync mark and was then cut short or changed on
    // the line: logged once, as it is set aside.
    void NoteUnsoundFrame(const T250Frame& F) const;

    std::unique_ptr<T250Frame> Fframe;
    std::unique_ptr<T250Frame> FprevFrame;
    int Fprev = -1;
    int64_t FlastByteTime = 0;

    // $FF bytes in a row up to and including Fprev.
    int FffRun = 0;
    // For a frame started at a sync mark: how many $FF bytes it starts with
    // (2 = a plain sync pair), and whether that run has ended. -1 for a frame
    // that did not start at a sync mark.
    int FleadFF = -1;
    bool FleadDone = false;
};

extern T250Read* current250Read;

// Whether two emit strings carry the same card content: the same card and
// punches, whatever their read times and the reader's own slot (code 250)
// say, which differ between two reads of one card.
bool SameCardContent(const QString& A, const QString& B);

class TSerComPort;
class TSerCustomComPort;
class TComboBox;
class TButton;
class TLabel;
class TFcToolbar;
class TOwnCaptionToolButton;
class TImageList;
class TBasicAction;
class TTimer;

// The device form "Laitteet" (global formEmitReader): reader type and port,
// receipt printer type and port, and the four operations on the reader.
class TFormEmitReader : public TForm {
public:
    explicit TFormEmitReader(TComponent* AOwner);
    ~TFormEmitReader() override;

    void StartDevice();
    void StopDevice();
    void EnableDevice();
    void DisableDevice();
    // The repeat filter for one confirmed card.
    void ProcessEmit(const QString& EmitString);

    // The card key of an emit string: field 4 without its quotes.
    static QString CardKey(const QString& EmitString);

    bool EmitDeviceStarted() const { return FEmitDeviceStarted; }
    bool EmitDeviceEnabled() const { return FEmitDeviceEnabled; }
    const QString& LastReadEmit() const { return FLastReadEmit; }

    // The choice handlers of the four lists.
    void cbbLukulaiteChange(TComponent* Sender);
    void cbbLukulaiteComChange(TComponent* Sender);
    void cbbTulostinChange(TComponent* Sender);
    void cbbTulostinComChange(TComponent* Sender);

    TSerComPort* SerComPort1 = nullptr;
    TComboBox* cbbLukulaite = nullptr;
    TComboBox* cbbLukulaiteCom = nullptr;
    TComboBox* cbbTulostin = nullptr;
    TComboBox* cbbTulostinCom = nullptr;
    TButton* btnOK = nullptr;
    // The guidance line: the reader state icon, the device text (kept in
    // step, not shown: the lists above say the same) and "Virkistä".
    TLabel* imgDeviceState = nullptr;
    TLabel* lblDevices = nullptr;
    TFcToolbar* tlbDevices = nullptr;
    TOwnCaptionToolButton* tbtnVirkista = nullptr;
    TImageList* ilDevices = nullptr;
    // The main window's device line as it now shows: whether the device
    // step is shown, its icon (sign and colour) and its text.
    void ShowGuidance(bool Visible, const QString& Sign, TColor Color, const QString& DeviceText);
    // The action the "Virkistä" button runs (the main window's
    // actLaitteetVirkista).
    void SetRefreshAction(TBasicAction* Action);
    // The reader's port failed while reading (unplugged): reading stops, the
    // operator is told once, and the port is watched for its return.
    void ReaderLost(int ErrorCode);
    // Whether the lost reader's port is watched for its return.
    bool WatchingForReader() const;

    // The card dispatch a card that passes the filter goes to; unset, the
    // main window's ChipRead.
    std::function<void(const QString& EmitString)> OnChipRead;

private:
    void SerComPort1TriggerAvail(TSerCustomComPort* CP, uint16_t Count);
    // While reading is off the bytes are still assembled, so that a card put
    // on the reader meanwhile (and perhaps lifted again) is not lost: the
    // last such card other than the one in hand waits for reading to come on.
    void TakeWhileDisabled(TSerCustomComPort* CP, int Count);
    void HoldCard(const QString& EmitString);
    void SameCardDropped(const QString& Key);
    void DispatchHeldCard();
    // A read the database refused earlier is processed again, as a card
    // read, once the database can store it: when reading comes on again
    // and every few seconds while the desk waits for cards.
    void DispatchKeptRead();
    TTimer* FKeptReadWatch = nullptr;
    // Opens or reopens the reader port; false (after telling) when it fails.
    bool OpenPort();
    // The lost reader's port is there again: the devices are refreshed.
    void CheckReaderReturned();
    void CheckPrinterPort();
    // No printer port: the list, the setting, the printer and its action.
    void ClearPrinterPort();
    void BuildLayout();
    void BuildGuidanceLine();

    bool FEmitDeviceStarted = false;
    bool FEmitDeviceEnabled = false;
    QString FLastReadEmit;
    // The key of the card last handed to the dispatch, and a card read while
    // reading was off.
    QString FDispatchedKey;
    QString FHeldEmit;
    // The card last dropped as read again (told in the day log once).
    QString FDroppedKey;
    std::unique_ptr<QObject> FPostGuard;
    TTimer* FReaderWatch = nullptr;
    QString FLostPort;
};

extern TFormEmitReader* formEmitReader;
