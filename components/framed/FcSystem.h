#pragma once
// Small functions the framed controls share: the running system's version,
// desktop and monitor areas, rotated and measured fonts, text helpers and
// the user's special folders.

#include "components/framed/FcCommon.h"
#include "platform/ui/Controls.h"

#include <QString>

// The system is reported as NT 10.0.
bool RunningAtLeast(TFcWindowsVersion Version);
bool RunningUnder(TFcWindowsVersion Version);
// Both take the platform id (true: NT family) and version; the ones above use NT 10.0.
bool RunningAtLeastOn(TFcWindowsVersion Version, bool NT, int Major, int Minor);
bool RunningUnderOn(TFcWindowsVersion Version, bool NT, int Major, int Minor);

TRect GetDesktopClientRect();
TRect GetActiveWorkArea(const TControl* Control);
int GetActiveWorkAreaWidth(const TControl* Control);
TRect GetMonitorWorkArea(int Monitor);
TRect GetMonitorBoundsRect(int Monitor);
// -1 when no monitor contains the point.
int GetMonitorContainingPoint(const TPoint& P);

// A copy of the font turned by Angle degrees (counter-clockwise).
TFont RotateFont(const TFont& Font, int Angle);
bool IsTrueTypeFont(const TFont& Font);
int GetMinFontHeight(const TFont& Font);
int GetAvgCharWidth(const TFont& Font);

QChar FirstNonWhitespaceChar(const QString& Text);
QChar LastChar(const QString& Text);
int CountChar(QChar C, const QString& Text);
QString RemoveAccelerators(const QString& Text);
TRect CenterRect(const TRect& R, int Width, int Height);

enum TFcSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };
// The folder with a trailing "/", the sub-path appended and created; empty for sfNone.
QString GetSpecialFolderPath(TFcSpecialFolder Folder, const QString& SubPath);
