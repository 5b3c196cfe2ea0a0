#pragma once
// Splits RTF memo text into a flat list of text pieces and control words and
// reads its font table. Not a full RTF interpreter: groups other than the
// font table stay whole or are dropped whole.
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"

#include <QString>

class TrRTFParser : public TComponent {
public:
    explicit TrRTFParser(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    QString RtfContent;
    const TStringList& RtfElements() const { return FRtfElements; }
    // "f0=Arial" lines.
    const TStringList& FontTable() const { return FFontTable; }

    bool IsRtfFormat() const;
    // Fills RtfElements and FontTable; only control words matching one of
    // SupportedTags ("\b", "\fs#" for a number, "\u*" for a prefix) are
    // kept, every one when SupportedTags is null.
    void ParseRtfContent(const QStringList* SupportedTags);

    static bool MatchesPattern(const QString& Piece, const QString& Pattern);

private:
    void ParseText(const QString& Text, QStringList& Pieces) const;
    void ParseFontTbl(const QString& Piece);
    TStringList FRtfElements;
    TStringList FFontTable;
};
