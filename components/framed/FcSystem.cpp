#include "components/framed/FcSystem.h"

#include "platform/ui/Monitors.h"

#include <QDir>
#include <QStandardPaths>
#include <cmath>

bool RunningAtLeastOn(TFcWindowsVersion V, bool NT, int Major, int Minor)
{
    auto atLeast = [&](int ma, int mi) { return Major > ma || (Major == ma && Minor >= mi); };
    switch (V) {
    case win95: return atLeast(4, 0);
    case winNT: return NT && Major >= 4;
    case win98: return atLeast(4, 10);
    case winMe: return atLeast(4, 90);
    case win2000: return NT && Major >= 5;
    case winXP: return NT && atLeast(5, 1);
    case winServer2003: return NT && atLeast(5, 2);
    case winVista: return NT && Major >= 6;
    case win7: return NT && atLeast(6, 1);
    case win8: return NT && atLeast(6, 2);
    case win10: return NT && Major >= 10;
    }
    return false;
}

bool RunningUnderOn(TFcWindowsVersion V, bool NT, int Major, int Minor)
{
    switch (V) {
    case win95: return !NT && Major == 4 && Minor == 0;
    case winNT: return NT && Major <= 4;
    case win98: return !NT && Major == 4 && Minor == 10;
    case winMe: return !NT && Major == 4 && Minor == 90;
    case win2000: return NT && Major == 5 && Minor == 0;
    case winXP: return NT && Major == 5 && Minor == 1;
    case winServer2003: return NT && Major == 5 && Minor == 2;
    case winVista: return NT && Major == 6 && Minor == 0;
    case win7: return NT && Major == 6 && Minor == 1;
    case win8: return NT && Major == 6 && Minor >= 2;
    case win10: return NT && Major == 10;
    }
    return false;
}

bool RunningAtLeast(TFcWindowsVersion Version)
{
    return RunningAtLeastOn(Version, true, 10, 0);
}

bool RunningUnder(TFcWindowsVersion Version)
{
    return RunningUnderOn(Version, true, 10, 0);
}

TRect GetDesktopClientRect()
{
    // the desktop's work area already leaves out panels and task bars
    return MonitorWorkAreaRect(0);
}

TRect GetActiveWorkArea(const TControl* Control)
{
    return MonitorWorkAreaRect(MonitorOfControl(Control));
}

int GetActiveWorkAreaWidth(const TControl* Control)
{
    return GetActiveWorkArea(Control).Width();
}

TRect GetMonitorWorkArea(int Monitor)
{
    return MonitorWorkAreaRect(Monitor);
}

TRect GetMonitorBoundsRect(int Monitor)
{
    return MonitorBoundsRect(Monitor);
}

int GetMonitorContainingPoint(const TPoint& P)
{
    for (int i = 0; i < MonitorCount(); ++i)
        if (MonitorBoundsRect(i).Contains(P))
            return i;
    return -1;
}

TFont RotateFont(const TFont& Font, int Angle)
{
    TFont f(Font);
    f.SetOrientation(Angle * 10);
    return f;
}

bool IsTrueTypeFont(const TFont&)
{
    // every substituted face is a scalable outline font
    return true;
}

int GetMinFontHeight(const TFont& Font)
{
    TBitmap b(1, 1);
    b.Canvas()->SetFont(Font);
    return b.Canvas()->TextMetrics().tmHeight + 2;
}

int GetAvgCharWidth(const TFont& Font)
{
    TBitmap b(1, 1);
    b.Canvas()->SetFont(Font);
    const int w = b.Canvas()->TextWidth(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return int(std::lround(w / 52.0));
}

QChar FirstNonWhitespaceChar(const QString& Text)
{
    for (const QChar c : Text)
        if (c.unicode() > ' ')
            return c;
    return QChar();
}

QChar LastChar(const QString& Text)
{
    return Text.isEmpty() ? QChar() : Text.back();
}

int CountChar(QChar C, const QString& Text)
{
    return int(Text.count(C));
}

QString RemoveAccelerators(const QString& Text)
{
    QString out;
    const int n = int(Text.size());
    for (int i = 0; i < n; ++i) {
        if (i == n - 1) {
            out += Text.at(i);
        } else if (Text.at(i) == QLatin1Char('&')) {
            if (Text.at(i + 1) == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
        } else {
            out += Text.at(i);
        }
    }
    return out;
}

TRect CenterRect(const TRect& R, int Width, int Height)
{
    const int l = R.Left + (R.Width() - Width) / 2, t = R.Top + (R.Height() - Height) / 2;
    return Bounds(l, t, Width, Height);
}

QString GetSpecialFolderPath(TFcSpecialFolder Folder, const QString& SubPath)
{
    QString base;
    switch (Folder) {
    case sfNone: return QString();
    case sfUserAppDataRoaming: base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation); break;
    case sfUserAppDataLocal: base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); break;
    case sfUserDocuments: base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); break;
    case sfProgramData: {
        const QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
        base = dirs.size() > 1 ? dirs.last() : QString();
        break;
    }
    }
    if (base.isEmpty())
        return QString();
    QString path = QDir::cleanPath(base + QLatin1Char('/') + SubPath);
    if (!QDir().mkpath(path))
        return QString();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}
