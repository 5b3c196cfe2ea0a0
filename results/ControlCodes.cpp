#include "results/ControlCodes.h"

#include "resources/StartDeskTexts.h"

#include <QRegularExpression>

bool CheckControlCodes(const QString& Text, QString& Message)
{
    static const QRegularExpression code(QStringLiteral("^[0-9]{1,3}$"));
    QString s = Text;
    s.replace(QLatin1Char(';'), QLatin1Char(','));
    s.remove(QLatin1Char(' '));
    int count = 0;
    for (const QString& piece : s.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!code.match(piece).hasMatch() || piece.toInt() == 0) {
            Message = txt::startdesk::BadControlCode.arg(piece.left(20));
            return false;
        }
        ++count;
    }
    if (count == 0) {
        Message = txt::startdesk::NoControlCodes;
        return false;
    }
    Message.clear();
    return true;
}
