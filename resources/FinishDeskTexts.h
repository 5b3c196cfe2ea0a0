#pragma once
// The finish desk's own texts (Finnish): card reader, dispatch, receipts,
// the result board and the finish dialog. Written once, referred to by name.

#include <QString>

namespace fdtxt {

// ---- card reader device form ----
inline const QString DevicesCaption = QStringLiteral("Laitteet");
inline const QString ReaderType250 = QStringLiteral("250 -lukija");
inline const QString PrinterTypeMtr2 = QStringLiteral("MTR2 (Martell MCP9810)");
inline const QString PrinterTypeEpr3 = QStringLiteral("EPR-3");
inline const QString PrinterTypeWoosim = QStringLiteral("Woosim Porti-S");
inline const QString ReaderNotSupported = QStringLiteral("Lukulaitetta ei tueta.");
inline const QString ReaderPortMissing = QStringLiteral("Lukulaitteen Com -porttia ei ole valittu!");
inline const QString ReaderStarted = QStringLiteral("Lukulaite käynnistetty");
inline const QString ReaderStopped = QStringLiteral("Lukulaite pysäytetty");
// a chosen reader port that does not open: the port, then the reason
inline const QString ReaderPortOpenFailed = QStringLiteral("Lukulaitteen porttia %1 ei voitu avata.\r\n\r\nSyy: %2");
// the reader's port failed while reading (cable pulled): the port and the reason
inline const QString ReaderLost = QStringLiteral(
    "Yhteys lukulaitteeseen katkesi (%1: %2). Tarkista lukulaitteen kaapeli.\r\n\r\nLukulaite otetaan käyttöön "
    "automaattisesti, kun se kytketään takaisin, tai painikkeella \"Virkistä laitteet\".");
// the hint of the reader state icon (main window and device form)
// The device form's refresh button.
inline const QString Virkista = QStringLiteral("Virkistä");
inline const QString ReaderStateHint =
    QStringLiteral("Lukulaitteen tila. Havainnollistaa, tarvitseeko lukulaite käyttäjän huomiota.");
// logged when a card read while reading was off waits for its turn
inline const QString ReaderCardHeld = QStringLiteral("Kilpailukortti luettu odottamaan käsittelyä: ");
inline const QString PrinterPortTaken = QStringLiteral(
    "Valittu COM -portti on jo valittu lukulaitteelle, valitse toinen portti kuittitulostimelle.");
inline const QString FinishTabCaption = QStringLiteral("Maali");

// ---- card dispatch and device list ----
inline const QString EventHasNoCourses = QStringLiteral(
    "Tapahtumassa ei ole yhtään rataa määriteltynä. Tätä toimintoa ei voi suorittaa ennen kuin tapahtumassa on ratoja.");
inline const QString PortRemoved = QStringLiteral(" on irroitettu! Ohjelman laitteet virkistetään automaattisesti.");
inline const QString PortArrived = QStringLiteral(" on kytketty. Ohjelman laitteet virkistetään automaattisesti.");
inline const QString ChipStringNoCard = QStringLiteral("Syötetystä tekstistä ei löydy kilpailukortin numeroa.");

// ---- receipts ----
inline const QString ReceiptFailed = QStringLiteral(
    "Virhetilanne suoritustulosteen tulostuksessa. Tarkista, että tulostin on kytketty ja päällä. Yritä tulostusta "
    "uudelleen.\r\n\r\nKatso virhe tarkemmin sovelluksen ilmoituksista.");
inline const QString Exception = QStringLiteral("Poikkeus:");

// ---- result board ----
inline const QString BoardCaptionPrefix = QStringLiteral("sorvex :: ");
inline const QString ReadingCard = QStringLiteral("Kilpailukorttia luetaan...");
inline const QString KeepCardOnReader = QStringLiteral("Pidä kilpailukortti lukijassa, kunnes näet tuloksesi");
inline const QString NextCard = QStringLiteral("Aseta seuraava kilpailukortti lukijaan.");
inline const QString NotInForest =
    QStringLiteral("Kilpailukortille ei löytynyt maastoon kirjausta. Siirry kartanmyyntiin.");
inline const QString SameChip = QStringLiteral("Sama kilpailukortti luettu uudelleen.");
inline const QString ReadFailed =
    QStringLiteral("Kilpailukortin luku epäonnistui. Poista kilpailukortti lukijasta ja yritä uudelleen.");
inline const QString RentedChipReturn = QStringLiteral("Lainakortti, palauta!");
inline const QString BoardCourse = QStringLiteral("Rata");
inline const QString BoardName = QStringLiteral("Nimi");
inline const QString BoardTime = QStringLiteral("Aika");
inline const QString BoardProcess = QStringLiteral("Käsittele");

// ---- finish dialog ----
inline const QString FinishCaption = QStringLiteral("Käsittele suoritus");
inline const QString FinishCaptionForest = QStringLiteral("Käsittele suoritus (MAASTOON KIRJATUN KÄSITTELY)");
inline const QString ChipProcessingError = QStringLiteral("Virhe kilpailukortin käsittelyssä:");
inline const QString RecheckError = QStringLiteral("Virhe leimausten uudelleentarkastuksessa:");
inline const QString SameChipAsk = QStringLiteral("Luettu sama kilpailukortti uudelleen. Haluatko käsitellä sen?");
inline const QString ClassChangedAsk = QStringLiteral(
    "Radan rastien koodeja on muutettu ja leimantarkastus ehdottaa radan muutosta suoritukselle. Vaihdetaanko radaksi:");
inline const QString RecheckProposes = QStringLiteral(
    "Leimausten uudelleentarkastus ehdottaa suorituksen radan muutosta. Haluatko muuttaa suorituksen radaksi:");
inline const QString StatusOkNoTime = QStringLiteral(
    "Tila ei voi olla OK,  koska aikaa ei pystytä laskemaan, eikä aikaa ole syötetty manuaalisesti. Lue lisää "
    "Lisätiedot -kentästä.");
inline const QString TimesChangedNote = QStringLiteral("* Suorituksen aikoja on muutettu manuaalisesti.");
inline const QString NoPersonForest =
    QStringLiteral("Henkilöä ei ole valittuna. Maastoon kirjausta ei voi tehdä ilman henkilöä.");
inline const QString NoPersonAsk = QStringLiteral(
    "Suoritukselle ei ole valittu henkilöä. Suoritus voidaan tallentaa ilman henkilöä, mutta suoritusta ei lähetetä "
    "Web -tulospalveluun.");
inline const QString NoTimeAsk =
    QStringLiteral("Suorituksella on aika, mutta tilaksi on asetettu \"Ei aikaa\". Tallenetaanko suoritus?");
inline const QString OwnChipError = QStringLiteral("Virhe henkilön oman kilpailukortin päivityksessä:");
inline const QString ReceiptFlagError = QStringLiteral("Virhe henkilön tuloskuitin tulostustiedon päivityksessä:");
inline const QString PhoneError = QStringLiteral("Virhe henkilön puhelinnumeron päivityksessä:");
inline const QString WebShowError =
    QStringLiteral("Virhe henkilön Näytä nimi Web -tulospalvelussa -tiedon päivityksessä:");
inline const QString RentedChip = QStringLiteral("Lainakortti");

// Course status items of the "Tila" group and their values.
inline const QString StatusItems[] = {QStringLiteral("OK"),       QStringLiteral("Ei läht."),
                                      QStringLiteral("Kesk"),     QStringLiteral("Leima puuttuu"),
                                      QStringLiteral("Ei aikaa "), QStringLiteral("Omatoimi"),
                                      QStringLiteral("Ratamestari"), QStringLiteral("Toimitsija")};
inline const QString StatusValues[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                       QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("8"),
                                       QStringLiteral("-1"), QStringLiteral("-2")};

}  // namespace fdtxt
