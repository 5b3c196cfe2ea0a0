#include "components/framed/FcLegacyProps.h"

#include "platform/ui/Types.h"

#include <QRegularExpression>
#include <algorithm>
#include <iterator>

namespace {

const char* const FrameStyleIdents[] = {"fsNone",    "fsFlat",   "fsGroove", "fsBump",  "fsLowered", "fsButtonDown",
                                        "fsRaised",  "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold"};

}  // namespace

bool LegacyBool(const QString& Value)
{
    const QString v = Value.trimmed();
    bool number = false;
    const int n = v.toInt(&number);
    return number ? n != 0 : v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

TFrameStyle LegacyFrameStyle(const QString& Value, TFrameStyle Default)
{
    const QString v = Value.trimmed();
    for (int i = 0; i < int(std::size(FrameStyleIdents)); ++i)
        if (v.compare(QLatin1String(FrameStyleIdents[i]), Qt::CaseInsensitive) == 0)
            return TFrameStyle(i);
    return Default;
}

TColor LegacyColor(const QString& Value, TColor Default)
{
    const QString v = Value.trimmed();
    bool ok = false;
    const qlonglong n = v.startsWith(QLatin1Char('$')) ? v.mid(1).toLongLong(&ok, 16) : v.toLongLong(&ok, 10);
    if (ok)
        return TColor(n);
    TColor c;
    return IdentToColor(v, c) ? c : Default;
}

QStringList LegacyList(const QString& Value)
{
    QString v = Value.trimmed();
    if (v.startsWith(QLatin1Char('(')))
        v.remove(0, 1);
    if (v.endsWith(QLatin1Char(')')))
        v.chop(1);
    return v.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

bool TFcOldPropReader::ReadOldBooleanProp(const QString& Value)
{
    const QString v = Value.trimmed();
    return v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
           v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
}

bool TFcOldPropReader::ReadOldEnumProp(const QString& Value)
{
    return ReadOldIdentProp(Value);
}

bool TFcOldPropReader::ReadOldIdentProp(const QString& Value)
{
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    return ident.match(Value.trimmed()).hasMatch();
}

bool TFcOldPropReader::ReadOldIntegerProp(const QString& Value)
{
    const QString v = Value.trimmed();
    bool ok = false;
    if (v.startsWith(QLatin1Char('$')))
        v.mid(1).toLongLong(&ok, 16);
    else
        v.toLongLong(&ok, 10);
    return ok;
}

bool TFcOldPropReader::ReadOldSetProp(const QString& Value)
{
    const QString v = Value.trimmed();
    if (!v.startsWith(QLatin1Char('[')) || !v.endsWith(QLatin1Char(']')))
        return false;
    const QStringList members = v.mid(1, v.size() - 2).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return std::all_of(members.begin(), members.end(), [](const QString& M) { return ReadOldIdentProp(M); });
}

bool TFcOldPropReader::ReadOldStringProp(const QString& Value)
{
    const QString v = Value.trimmed();
    return v.size() >= 2 && v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\''));
}

bool ReadLegacyFrameProperty(const QString& Name, const QString& Value, bool& HotTrack, TFrameStyle& Style,
                             TFrameStyle& HotStyle)
{
    if (Name.compare(QLatin1String("FrameFlat"), Qt::CaseInsensitive) == 0) {
        HotTrack = LegacyBool(Value);
        if (HotTrack) {
            Style = fsStatus;
            HotStyle = fsLowered;
        }
        return true;
    }
    if (Name.compare(QLatin1String("FrameFocusStyle"), Qt::CaseInsensitive) == 0) {
        HotStyle = LegacyFrameStyle(Value, HotStyle);
        return true;
    }
    return Name.compare(QLatin1String("FrameFlatStyle"), Qt::CaseInsensitive) == 0;
}
