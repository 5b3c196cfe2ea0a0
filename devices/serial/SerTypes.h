#pragma once
// Types, message numbers and result codes shared by the serial port layer.

#include <cstdint>

enum TDeviceLayer { dlWin32, dlWinsock };
enum TParity { pNone, pOdd, pEven, pMark, pSpace };
enum THWFlowOption { hwfUseDTR, hwfUseRTS, hwfRequireDSR, hwfRequireCTS };
// A set of THWFlowOption: bit (1 << option).
using THWFlowOptions = uint8_t;
constexpr THWFlowOptions HWFlow(THWFlowOption o) { return static_cast<THWFlowOptions>(1u << o); }
enum TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };
enum TTraceLogState { tlOff, tlOn, tlDump, tlAppend, tlClear, tlPause, tlAppendAndContinue };
// Scoped: the visual layer has enumerators of the same names.
enum class TTapiMode { tmNone, tmAuto, tmOn, tmOff };
enum TApThreadBoost { tbNone, tbPlusOne, tbPlusTwo };
enum TFlowControlState { fcOff, fcOn, fcDsrHold, fcCtsHold, fcDcdHold, fcXOutHold, fcXInHold, fcXBothHold };
enum TPortState { psClosed, psShuttingDown, psOpen };
enum TSerCallbackType { ctOpen, ctClosing, ctClosed };

// Notifications from a dispatcher to the owner's hidden window.
constexpr unsigned MsgTriggerAvail = 0x7E01;
constexpr unsigned MsgTriggerData = 0x7E02;
constexpr unsigned MsgTriggerTimer = 0x7E03;
constexpr unsigned MsgTriggerStatus = 0x7E04;
constexpr unsigned MsgPortOpen = 0x7E08;
constexpr unsigned MsgPortClose = 0x7E09;
constexpr unsigned MsgPortClosing = 0x7E0A;
// A port thread ended on an error; the owner's thread raises it.
constexpr unsigned MsgThreadError = 0x7E0B;

// Status trigger kinds.
constexpr int stNotActive = 0;
constexpr int stModem = 1;
constexpr int stLine = 2;
constexpr int stOutBuffFree = 3;
constexpr int stOutBuffUsed = 4;
constexpr int stOutSent = 5;

// Result codes.
constexpr int ecOK = 0;
constexpr int ecFileNotFound = -2;
constexpr int ecPathNotFound = -3;
constexpr int ecAccessDenied = -5;
constexpr int ecOutOfMemory = -8;
constexpr int ecDeviceWrite = -160;
constexpr int ecDeviceRead = -161;
constexpr int ecBadHandle = -1001;
constexpr int ecBadArgument = -1002;
constexpr int ecBadId = -2001;
constexpr int ecBaudRate = -2002;
constexpr int ecCommNotOpen = -2007;
constexpr int ecAlreadyOpen = -2008;
constexpr int ecNoPortSelected = -2011;
constexpr int ecNotOpenedByTapi = -2012;
constexpr int ecNoPermission = -2013;
constexpr int ecNotSerialDevice = -2014;
constexpr int ecOpenFailed = -2015;
constexpr int ecNullApi = -3001;
constexpr int ecPutBlockFail = -3004;
constexpr int ecOutputBufferTooSmall = -3006;
constexpr int ecBufferIsEmpty = -3007;
constexpr int ecTracingNotEnabled = -3008;
constexpr int ecLoggingNotEnabled = -3009;
constexpr int ecBaseAddressNotSet = -3010;
constexpr int ecNoMoreTriggers = -5001;
constexpr int ecTriggerTooLong = -5002;
constexpr int ecBadTriggerHandle = -5003;
constexpr int ecNoMem = -13868;

// The receive ring's fixed size.
constexpr int DispatchBufferSize = 8192;
// Data triggers match at most this many bytes.
constexpr int MaxTrigData = 21;
