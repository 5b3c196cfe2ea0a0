#pragma once
// Texts of the start desk: the check-in dialog and the chip balance payment.

#include <QString>

namespace txt::startdesk {

inline const QString CheckInCaption = QStringLiteral("Kirjaa maastoon");
inline const QString InsertFailed = QStringLiteral("Virhe kilpailukortin käsittelyssä:");
inline const QString AlreadyInForest =
    QStringLiteral("Luettu kilpailukortti on jo kirjattu maastoon. Sitä ei voi kirjata kahta kertaa.");
inline const QString SameCardAgain = QStringLiteral("Luettu sama kilpailukortti uudelleen. Haluatko käsitellä sen?");
inline const QString NoPerson =
    QStringLiteral("Henkilöä ei ole valittuna. Maastoon kirjausta ei voi tehdä ilman henkilöä.");
inline const QString NoCard = QStringLiteral(
    "Et syöttänyt kilpailukortin numeroa.\r\n\r\nJos haluat kirjata maastoon ilman kilpailukorttia, valitse Ei korttia "
    "-valinta");
inline const QString NoCourse = QStringLiteral("Et ole valinnut rataa. Maastoon ei voi kirjata valitsematta rataa.");
inline const QString CardInForestAsk = QStringLiteral(
    "Kilpailukortti on jo kirjattu maastoon, haluatko kirjata siitä huolimatta?\r\n\r\nSamat kilpailukortit käsitellään "
    "Maali -toiminnossa maastoon kirjausjärjestyksessä.");
inline const QString OwnChipFailed = QStringLiteral("Virhe henkilön oman kilpailukortin päivityksessä:");
inline const QString ReceiptFailed = QStringLiteral("Virhe henkilön tuloskuitin tulostustiedon päivityksessä:");
inline const QString PhoneFailed = QStringLiteral("Virhe henkilön puhelinnumeron päivityksessä:");
inline const QString WebShowFailed = QStringLiteral("Virhe henkilön Näytä nimi Web -tulospalvelussa -tiedon päivityksessä:");
inline const QString SportIdFailed = QStringLiteral("Virhe henkilön Sport ID:n päivityksessä:");
inline const QString WebEntryFailed = QStringLiteral("Virhe ilmoittautumisen valinnassa:");

inline const QString Menu1Question = QStringLiteral("Valitse maastoon kirjattava henkilö.");
inline const QString Menu1Exclamation = QStringLiteral("Varmista, että valittu henkilö on oikea.");
inline const QString Menu2Question = QStringLiteral("Valitse maastoon kirjattavan rata.");
inline const QString Menu2Course = QStringLiteral("Rata: ");
inline const QString RentedChip = QStringLiteral("Lainakortti");

inline const QString PriceFee = QStringLiteral("Osallistumismaksu");
inline const QString PriceFeeHint = QStringLiteral("Maksettava osallistumismaksu");
inline const QString PriceBalance = QStringLiteral("Vähennetään saldosta");
inline const QString PriceBalanceHint = QStringLiteral("Kilpailukortin saldosta vähennetään");
inline const QString BalanceAfter = QStringLiteral("SALDO tapahtuman jälkeen: ");
inline const QString PayBalance = QStringLiteral("Maksa saldoa");
inline const QString Paid = QStringLiteral("Maksettu ");

inline const QString BalanceCaption = QStringLiteral("Saldomaksu");
inline const QString NoBalanceOption =
    QStringLiteral("Saldovaihtoehtoa ei ole valittuna. Valitse saldovaihtoehto ennen maksun kirjaamista.");

// "Tila": the items in order.
inline const QString StatusForest = QStringLiteral("Maastoon");
inline const QString StatusNoTime = QStringLiteral("Ei aikaa");
inline const QString StatusSelf = QStringLiteral("Omatoimi");
inline const QString StatusSetter = QStringLiteral("Ratamestari");
inline const QString StatusOfficial = QStringLiteral("Toimitsija");

}  // namespace txt::startdesk

namespace txt::startdesk {

inline const QString EditorCaption = QStringLiteral("Muokkaa tietoja");
inline const QString RentedAsOwnCard = QStringLiteral("Lainakorttia ei voi syöttää henkilön omaksi kilpailukortiksi.");
inline const QString PersonExistsInsert = QStringLiteral(
    "\r\n\r\nKäytetäänkö tätä henkilöä (KYLLÄ) vai lisäätkö uuden saman nimisen henkilön (EI)?");
inline const QString PersonDiscard = QStringLiteral("Olet muuttanut henkilön tietoja. Haluatko peruuttaa muutokset?");
inline const QString NewIdFailed = QStringLiteral("Uuden tunnisteen haku tietokannasta epäonnistui.");
inline const QString PersonDeleteMissing = QStringLiteral("Toimintoa ei ole vielä toteutettu (Henkilö - poista)");

}  // namespace txt::startdesk

namespace txt::startdesk {

inline const QString ClubExistsInsert = QStringLiteral(
    "\r\n\r\nKäytetäänkö tätä seuraa (KYLLÄ), vai muutatko uuden seuran nimeä (saman nimistä seuraa ei voi lisätä)?");
inline const QString ClubDiscard = QStringLiteral("Olet muuttanut seuran tietoja. Haluatko peruuttaa muutokset?");
inline const QString ClubDeleteMissing = QStringLiteral("Toimintoa ei ole vielä toteutettu (Seura - poista)");

}  // namespace txt::startdesk

namespace txt::startdesk {

inline const QString MergeCaption = QStringLiteral("Yhdistä henkilöt");
inline const QString MergeChooseFirst = QStringLiteral("Valitse ensin yhdistettävä henkilö.");
inline const QString MergeKeptMissing = QStringLiteral("Säilytettävää henkilöä ei löydy tietokannasta.");
inline const QString MergeAsk =
    QStringLiteral("Olet yhdistämässä nämä kaksi henkilöä yhdeksi henkilöksi. Haluatko varmasti jatkaa?");

}  // namespace txt::startdesk

namespace txt::startdesk {

inline const QString NewClassCaption = QStringLiteral("Lisää uusi rata tapahtumaan");
inline const QString BadLength = QStringLiteral("Virheellinen radan pituus. Radan pituus annetaan kilometreissä (max 999 km).");
// A controls string that is not codes separated by commas; %1 is the piece.
inline const QString BadControlCode = QStringLiteral(
    "Rastikoodi \"%1\" on virheellinen. Syötä radan rastit pilkuilla eroteltuina, esimerkiksi 31,32,33 "
    "(rastikoodit 1-999). Älä syötä maalin koodia.");
inline const QString NoControlCodes = QStringLiteral("Radalla ei ole rasteja. Syötä radan rastit pilkuilla eroteltuina, esimerkiksi 31,32,33.");
inline const QString BadFee = QStringLiteral("Virheellinen maksu. Maksun maksimi on 9999.");
inline const QString BadClimb = QStringLiteral("Virheellinen noususumma. Noususumman maksimi on 9999.");
inline const QString RequiredField = QStringLiteral("Syötä tieto pakolliseen kenttään");
inline const QString NewClassFailed = QStringLiteral("Virhe uuden radan lisäyksessä:");

}  // namespace txt::startdesk

namespace txt::startdesk {

inline const QString CourseUpdateFailed = QStringLiteral("Virhe radan päivityksessä:");
inline const QString CourseDiscard = QStringLiteral("Olet muuttanut radan tietoja. Haluatko peruuttaa muutokset?");
inline const QString ControlDiscard = QStringLiteral("Olet muuttanut rastin tietoja. Haluatko peruuttaa muutokset?");

}  // namespace txt::startdesk
