#pragma once
// Small helpers of the result dialogs: message boxes with the program's title
// and the hourglass cursor for the length of a call.

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

#include <QString>

inline QString Title()
{
    return Application ? Application->Title : QStringLiteral("sorvex");
}

inline void ErrorBox(const QString& Text)
{
    MessageBox(Text, Title(), MB_OK | MB_ICONERROR);
}

class THourGlassCursor {
public:
    THourGlassCursor() : FPrevious(Screen ? Screen->Cursor() : crDefault)
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~THourGlassCursor()
    {
        if (Screen)
            Screen->SetCursor(FPrevious);
    }
    THourGlassCursor(const THourGlassCursor&) = delete;
    THourGlassCursor& operator=(const THourGlassCursor&) = delete;

private:
    TCursor FPrevious;
};
