#pragma once
// The program's texts (Finnish) for settings, start-up and log failures the
// user has to hear about.

#include <QString>

namespace txt {

inline const QString IniUnreadable =
    QStringLiteral("Asetustiedostoa ei voi lukea; oletusarvot ovat käytössä eikä tiedostoa kirjoiteta: ");

}  // namespace txt
