#pragma once
// The program's own texts (Finnish), written once and referred to by name.

#include <QString>

namespace txt {

inline const QString SecondInstance =
    QStringLiteral("SORVEX on jo käynnissä.\r\n\r\nVoit käynnistää sovelluksen vain kertaalleen.");
inline const QString UnexpectedError = QStringLiteral(
    "Yllättävä virhetilanne ohjelman suorituksessa. Ohjelman suoritus lopetetaan. Tarkista viimeisin "
    "toimenpide, se on saattanut peruuntua.\r\n\r\nTarkempi virheilmoitus: \r\n\r\n");
inline const QString MainCaption = QStringLiteral("sorvex");
inline const QString IniWriteFailed = QStringLiteral("Asetustiedoston kirjoitus epäonnistui: ");
inline const QString PrinterPortInvalid =
    QStringLiteral("Kuittitulostimen portin asetus ei kelpaa, tulostin ei ole käytössä: ");

// Kind texts of the day log.
inline const QString KindInformation = QStringLiteral("Information");
inline const QString KindWarning = QStringLiteral("Warning");
inline const QString KindError = QStringLiteral("Error");
inline const QString KindRest = QStringLiteral("REST-message");
inline const QString KindDebug = QStringLiteral("Debug");
inline const QString KindUnknown = QStringLiteral("Unknown: ");
inline const QString LogTryAgain = QStringLiteral("*** Try again: File -exception (");
inline const QString LogFileException = QStringLiteral("*** File -exception (");

// Configuration file names.
inline const QString SystemIniName = QStringLiteral("vrkEventSystem.ini");
inline const QString DeviceIniName = QStringLiteral("vrkEvent.ini");
inline const QString DefaultDbName = QStringLiteral("SORVEX.FDB");

// Card reader log lines.
inline const QString ChipReaderNewRead = QStringLiteral("* Chip reader -> Uusi luku");
inline const QString ChipReaderCompleteTwice = QStringLiteral("!COMPLETE TWICE, Frame (");
inline const QString ChipReaderCall = QStringLiteral("-> KUTSU: ");
inline const QString ChipReaderReturn = QStringLiteral("-> PALUU");

// Database connection and error texts of the data module.
inline const QString DbConnected = QStringLiteral("Yhdistetty tietokantaan.");
inline const QString DbConnectFailed = QStringLiteral("Tietokantaan yhdistäminen epäonnistui. Ohjelman suoritus päättyy.");
inline const QString WebBadCredentials = QStringLiteral("Virheelliset Web -käyttäjätunnukset.");
inline const QString WebUserLocked = QStringLiteral("Web -käyttäjä lukittu.");
inline const QString DbException = QStringLiteral("Poikkeus:");

// Edit rules of the club and person editors.
inline const QString ClubNameRequired =
    QStringLiteral("Seuran nimi on pakollinen tieto. Syötä seuran nimi tai peruuta muokkaus Esc -näppäimellä.");
inline const QString ClubNameExists1 = QStringLiteral("Löytyy jo seura nimellä\r\n\r\n");
inline const QString ClubNameExists2 = QStringLiteral("\r\n\r\nSaman nimistä seuraa ei voi lisätä.");
inline const QString PersonNameRequired =
    QStringLiteral("Henkilön nimi on pakollinen tieto. Syötä henkilön nimi tai peruuta muokkaus Esc -näppäimellä.");
inline const QString PersonRenameWarning =
    QStringLiteral("Olet muuttamassa henkilön nimeä. Muuta henkilön nimeä vain, jos henkilön oma nimi on oikeasti "
                   "muuttunut (esimerkiksi naimisiin menon johdosta).") +
    QStringLiteral("\r\n\r\nÄlä muuta henkilön nimeä esimerkiksi silloin, kun samaa Emit -korttia käyttää eri "
                   "perheenjäsenet ristiin. Lisää tällöin tarvittaessa uusi henkilö uudella nimellä.") +
    QStringLiteral("\r\n\r\nPäivitetäänkö henkilön nimi silti?");
inline const QString PersonNameExists1 = QStringLiteral("Löytyy jo henkilö nimellä\r\n\r\n");
inline const QString PersonNameExists2 = QStringLiteral("\r\n\r\nPäivitetäänkö henkilön nimi silti?");

}  // namespace txt
