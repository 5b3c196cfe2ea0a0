// The framed edit's mask check: the text must fill the mask when the focus leaves.
#include "components/framed/FcEdit.h"

namespace {

bool Fits(QChar M, QChar C)
{
    switch (M.toUpper().unicode()) {
    case '0':
    case '9': return C.isDigit();
    case '#': return C.isDigit() || C == QLatin1Char('+') || C == QLatin1Char('-');
    case 'L': return C.isLetter();
    case 'A': return C.isLetterOrNumber();
    case 'C': return true;
    default: return false;
    }
}

bool Required(QChar M)
{
    return M == QLatin1Char('0') || M == QLatin1Char('L') || M == QLatin1Char('A') || M == QLatin1Char('C');
}

bool Optional(QChar M)
{
    return M == QLatin1Char('9') || M == QLatin1Char('#') || M == QLatin1Char('l') || M == QLatin1Char('a') ||
           M == QLatin1Char('c');
}

}  // namespace

bool EditMaskMatches(const QString& Mask, const QString& Text)
{
    const QString mask = Mask.section(QLatin1Char(';'), 0, 0);
    int t = 0;
    for (int m = 0; m < mask.size(); ++m) {
        QChar mc = mask[m];
        if (mc == QLatin1Char('>') || mc == QLatin1Char('<') || mc == QLatin1Char('!'))
            continue;
        const QChar c = t < Text.size() ? Text[t] : QChar();
        if (mc == QLatin1Char('\\') && m + 1 < mask.size()) {
            if (c != mask[++m])
                return false;
            ++t;
        } else if (Required(mc)) {
            if (c.isNull() || !Fits(mc, c))
                return false;
            ++t;
        } else if (Optional(mc)) {
            // an optional place holds a blank or a fitting character; only at the
            // end of the text may it be left out
            if (c.isNull())
                continue;
            if (!Fits(mc, c) && c != QLatin1Char(' '))
                return false;
            ++t;
        } else {
            if (c != mc)
                return false;
            ++t;
        }
    }
    return t == Text.size();
}

void TFcCustomEdit::ValidateEdit()
{
    if (!EditMask.isEmpty() && !EditMaskMatches(EditMask, Text()))
        ValidateError();
}

void TFcCustomEdit::ValidateError()
{
    if (OnValidateError) {
        QString message;
        OnValidateError(this, message);
        if (!message.isEmpty())
            throw EDBEditError(message);
    }
    InvalidKeyPressed();
    throw EDBEditError(QStringLiteral("Invalid input value. Use escape key to abandon changes."));
}
