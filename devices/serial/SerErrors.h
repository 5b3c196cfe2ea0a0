#pragma once
// Serial layer failures: negative result codes become exceptions of the
// ESerException family with the English texts of the layer's message table.

#include "platform/rtl/Exception.h"

#include <QString>

class TComponent;

class ESerException : public Exception {
public:
    ESerException(int Code, bool PassThru = false);
    static ESerException CreateUnknown(const QString& Text, bool PassThru = false);
    static int MapCodeToStringID(int Code) { return Code < 0 ? -Code : Code; }
    int ErrorCode = 0;

protected:
    explicit ESerException(const QString& Text);
};

// The framework's input/output error with the system's error number.
class ESerInOutError : public EInOutError {
public:
    ESerInOutError(const QString& Msg, int ErrorCode)
        : EInOutError(Msg)
        , ErrorCode(ErrorCode)
    {
    }
    int ErrorCode;
};

#define SER_EXCEPTION_CLASS(Name, Base)                          \
    class Name : public Base {                                   \
    public:                                                      \
        explicit Name(int Code, bool PassThru = false)           \
            : Base(Code, PassThru)                               \
        {                                                        \
        }                                                        \
    };

SER_EXCEPTION_CLASS(EGeneral, ESerException)
SER_EXCEPTION_CLASS(EOpenComm, ESerException)
SER_EXCEPTION_CLASS(ESerialIO, ESerException)
SER_EXCEPTION_CLASS(EModem, ESerException)
SER_EXCEPTION_CLASS(ETrigger, ESerException)
SER_EXCEPTION_CLASS(EProtocol, ESerException)
SER_EXCEPTION_CLASS(EINI, ESerException)
SER_EXCEPTION_CLASS(EFax, ESerException)
SER_EXCEPTION_CLASS(ETapi, ESerException)
SER_EXCEPTION_CLASS(ERas, ESerException)

// Leaf classes: (code, class, group).
#define SER_EXCEPTION_LEAVES(X)                                                                          \
    X(-1002, EBadArgument, EGeneral) X(-1003, EGotQuitMsg, EGeneral) X(-1004, EBufferTooBig, EGeneral)   \
    X(-1005, EPortNotAssigned, EGeneral) X(-1006, EInternal, EGeneral)                                  \
    X(-1007, EModemNotAssigned, EGeneral) X(-1008, EPhonebookNotAssigned, EGeneral)                     \
    X(-1009, ECannotUseWithWinSock, EGeneral)                                                           \
    X(-2001, EBadId, EOpenComm) X(-2002, EBaudRate, EOpenComm) X(-2003, EByteSize, EOpenComm)           \
    X(-2004, EDefault, EOpenComm) X(-2005, EHardware, EOpenComm) X(-2006, EMemory, EOpenComm)           \
    X(-2007, ECommNotOpen, EOpenComm) X(-2008, EAlreadyOpen, EOpenComm) X(-2009, ENoHandles, EOpenComm) \
    X(-2010, ENoTimers, EOpenComm) X(-2011, ENoPortSelected, EOpenComm)                                 \
    X(-2012, ENotOpenedByTapi, EOpenComm) X(-2013, ENoPermission, EOpenComm)                            \
    X(-2014, ENotSerialDevice, EOpenComm) X(-2015, EOpenFailed, EOpenComm)                              \
    X(-3001, ENullApi, ESerialIO) X(-3003, ERegisterHandlerFailed, ESerialIO)                           \
    X(-3004, EPutBlockFail, ESerialIO) X(-3005, EGetBlockFail, ESerialIO)                               \
    X(-3006, EOutputBufferTooSmall, ESerialIO) X(-3007, EBufferIsEmpty, ESerialIO)                      \
    X(-3008, ETracingNotEnabled, ESerialIO) X(-3009, ELoggingNotEnabled, ESerialIO)                     \
    X(-3010, EBaseAddressNotSet, ESerialIO)                                                             \
    X(-4001, EModemNotStarted, EModem) X(-4002, EModemBusy, EModem) X(-4003, EModemNotDialing, EModem)  \
    X(-4004, ENotDialing, EModem) X(-4005, EAlreadyDialing, EModem)                                     \
    X(-4006, EModemNotResponding, EModem) X(-4007, EModemRejectedCommand, EModem)                       \
    X(-4008, EModemStatusMismatch, EModem)                                                              \
    X(-5001, ENoMoreTriggers, ETrigger) X(-5002, ETriggerTooLong, ETrigger)                             \
    X(-5003, EBadTriggerHandle, ETrigger)                                                               \
    X(-7001, EKeyTooLong, EINI) X(-7002, EDataTooLarge, EINI) X(-7004, EIniWrite, EINI)                 \
    X(-7005, EIniRead, EINI) X(-7007, ERecordExists, EINI) X(-7008, ERecordNotFound, EINI)              \
    X(-7010, EDatabaseFull, EINI) X(-7011, EDatabaseEmpty, EINI) X(-7013, EBadFieldList, EINI)          \
    X(-7014, EBadFieldForIndex, EINI)                                                                   \
    X(-8001, EFaxBadFormat, EFax) X(-8002, EBadGraphicsFormat, EFax) X(-8003, EConvertAbort, EFax)      \
    X(-8004, EUnpackAbort, EFax) X(-8005, ECantMakeBitmap, EFax) X(-8053, EInvalidPageNumber, EFax)     \
    X(-8060, EFaxBadMachine, EFax) X(-8061, EFaxBadModemResult, EFax) X(-8062, EFaxTrainError, EFax)    \
    X(-8063, EFaxInitError, EFax) X(-8064, EFaxBusy, EFax) X(-8065, EFaxVoiceCall, EFax)                \
    X(-8066, EFaxDataCall, EFax) X(-8067, EFaxNoDialTone, EFax) X(-8068, EFaxNoCarrier, EFax)           \
    X(-8069, EFaxSessionError, EFax) X(-8070, EFaxPageError, EFax)                                      \
    X(-13980, ERasLoadFail, ERas)

#define SER_TAPI_LEAVES(X)                                                                                   \
    X(-13801, ETapiAllocated) X(-13802, ETapiBadDeviceID) X(-13803, ETapiBearerModeUnavail)                  \
    X(-13805, ETapiCallUnavail) X(-13806, ETapiCompletionOverrun) X(-13807, ETapiConferenceFull)             \
    X(-13808, ETapiDialBilling) X(-13809, ETapiDialDialtone) X(-13810, ETapiDialPrompt)                      \
    X(-13811, ETapiDialQuiet) X(-13812, ETapiIncompatibleApiVersion) X(-13813, ETapiIncompatibleExtVersion)  \
    X(-13814, ETapiIniFileCorrupt) X(-13815, ETapiInUse) X(-13816, ETapiInvalAddress)                        \
    X(-13817, ETapiInvalAddressID) X(-13818, ETapiInvalAddressMode) X(-13819, ETapiInvalAddressState)        \
    X(-13820, ETapiInvalAppHandle) X(-13821, ETapiInvalAppName) X(-13822, ETapiInvalBearerMode)              \
    X(-13823, ETapiInvalCallComplMode) X(-13825, ETapiInvalCallParams) X(-13826, ETapiInvalCallPrivilege)    \
    X(-13827, ETapiInvalCallSelect) X(-13828, ETapiInvalCallState) X(-13829, ETapiInvalCallStatelist)        \
    X(-13830, ETapiInvalCard) X(-13831, ETapiInvalCompletionID) X(-13832, ETapiInvalConfCallHandle)          \
    X(-13833, ETapiInvalConsultCallHandle) X(-13834, ETapiInvalCountryCode) X(-13835, ETapiInvalDeviceClass) \
    X(-13836, ETapiInvalDeviceHandle) X(-13837, ETapiInvalDialParams) X(-13838, ETapiInvalDigitList)         \
    X(-13839, ETapiInvalDigitMode) X(-13840, ETapiInvalDigits) X(-13841, ETapiInvalExtVersion)               \
    X(-13842, ETapiInvalGroupID) X(-13843, ETapiInvalLineHandle) X(-13844, ETapiInvalLineState)              \
    X(-13845, ETapiInvalLocation) X(-13846, ETapiInvalMediaList) X(-13847, ETapiInvalMediaMode)              \
    X(-13848, ETapiInvalMessageID) X(-13850, ETapiInvalParam) X(-13851, ETapiInvalParkID)                    \
    X(-13852, ETapiInvalParkMode) X(-13853, ETapiInvalPointer) X(-13854, ETapiInvalPrivSelect)               \
    X(-13855, ETapiInvalRate) X(-13856, ETapiInvalRequestMode) X(-13857, ETapiInvalTerminalID)               \
    X(-13858, ETapiInvalTerminalMode) X(-13859, ETapiInvalTimeout) X(-13860, ETapiInvalTone)                 \
    X(-13861, ETapiInvalToneList) X(-13862, ETapiInvalToneMode) X(-13863, ETapiInvalTransferMode)            \
    X(-13864, ETapiLineMapperFailed) X(-13865, ETapiNoConference) X(-13866, ETapiNoDevice)                   \
    X(-13867, ETapiNoDriver) X(-13868, ETapiNoMem) X(-13869, ETapiNoRequest) X(-13870, ETapiNotOwner)        \
    X(-13871, ETapiNotRegistered) X(-13872, ETapiOperationFailed) X(-13873, ETapiOperationUnavail)           \
    X(-13874, ETapiRateUnavail) X(-13875, ETapiResourceUnavail) X(-13876, ETapiRequestOverrun)               \
    X(-13877, ETapiStructureTooSmall) X(-13878, ETapiTargetNotFound) X(-13879, ETapiTargetSelf)              \
    X(-13880, ETapiUninitialized) X(-13881, ETapiUserUserInfoTooBig) X(-13882, ETapiReinit)                  \
    X(-13883, ETapiAddressBlocked) X(-13884, ETapiBillingRejected) X(-13885, ETapiInvalFeature)              \
    X(-13886, ETapiNoMultipleInstance) X(-13928, ETapiBusy) X(-13929, ETapiNotSet) X(-13930, ETapiNoSelect)  \
    X(-13931, ETapiLoadFail) X(-13932, ETapiGetAddrFail) X(-13935, ETapiVoiceNotSupported)                   \
    X(-13936, ETapiWaveFail) X(-13942, ETapiTranslateFail)

#define SER_DECLARE_LEAF(Code, Name, Group) SER_EXCEPTION_CLASS(Name, Group)
#define SER_DECLARE_TAPI(Code, Name) SER_EXCEPTION_CLASS(Name, ETapi)
SER_EXCEPTION_LEAVES(SER_DECLARE_LEAF)
SER_TAPI_LEAVES(SER_DECLARE_TAPI)
#undef SER_DECLARE_LEAF
#undef SER_DECLARE_TAPI

// Returns Code when it is 0 or positive, or while Component is loading from
// its window layout; otherwise raises the exception for the code.
int CheckException(const TComponent* Component, int Code);
[[noreturn]] void RaiseSerError(int Code);

// The table text of a code (sign ignored), empty when there is none.
QString MessageNumberToString(int Code);
// The table text, or the operating system's text for the number.
QString DorvLoadStr(int Code);
// The number of entries of the message table (for its tests).
int MessageTableSize();
