#pragma once
// Settings that older versions of the framed controls stored under names the
// controls no longer publish. A window text written by such a version still
// carries them as "Name = Value" (True/False, an identifier such as
// fsLowered, a colour number or name, or a list in brackets). Each control
// takes them with its ReadLegacyProperty (Name, Value), which answers true
// when the name is one of its legacy names; they are never written back.

#include "components/framed/FcCommon.h"

#include <QString>
#include <QStringList>

// "True" (any letter case) or a non-zero number.
bool LegacyBool(const QString& Value);
// An identifier of fsNone .. fsFlatBold; anything else keeps Default.
TFrameStyle LegacyFrameStyle(const QString& Value, TFrameStyle Default);
// A colour number ($-hex or decimal) or identifier (clBtnFace); else Default.
TColor LegacyColor(const QString& Value, TColor Default);
// The items of a bracketed list "(a b c)", one per blank-separated word.
QStringList LegacyList(const QString& Value);
// Readers that take one stored value of its kind and discard it, for names no
// control has a use for any more; each answers whether the text was of its kind.
// WriteOldProp writes nothing: legacy names never go back into a window text.
struct TFcOldPropReader {
    static bool ReadOldBooleanProp(const QString& Value);
    static bool ReadOldEnumProp(const QString& Value);
    static bool ReadOldIdentProp(const QString& Value);
    static bool ReadOldIntegerProp(const QString& Value);
    static bool ReadOldSetProp(const QString& Value);
    static bool ReadOldStringProp(const QString& Value);
    static QString WriteOldProp() { return {}; }
};

// The frame settings of older edits, combo boxes, list boxes and the frame
// controller: "FrameFlat" (hot tracking; True also means a status frame that
// turns lowered when hot), "FrameFocusStyle" (the hot frame style) and
// "FrameFlatStyle" (read and ignored).
bool ReadLegacyFrameProperty(const QString& Name, const QString& Value, bool& HotTrack, TFrameStyle& Style,
                             TFrameStyle& HotStyle);
