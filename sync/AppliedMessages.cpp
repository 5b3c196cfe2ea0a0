#include "sync/AppliedMessages.h"

#include "platform/database/FbQuery.h"
#include "sync/ReplicateInputs.h"
#include "sync/jsonnode.h"

#include <QCryptographicHash>

namespace {

// Confirmed messages are not delivered again; a season's worth is plenty.
constexpr int KeepConfirmedDays = 120;

// A text form of a node in which every value and name is delimited, so two
// different trees never give the same text.
void Canonical(const TJsonNode& Node, QString& Out)
{
    if (const TJsonNodeListItems* Items = Node.ListItems(); Node.IsList() && Items) {
        Out += QLatin1Char('[');
        for (const TJsonNode* Item : *Items) {
            Canonical(*Item, Out);
            Out += QLatin1Char(',');
        }
        Out += QLatin1Char(']');
        return;
    }
    if (const TJsonNodeItems* Members = Node.Items(); Node.IsDict() && Members) {
        Out += QLatin1Char('{');
        for (const QString& Name : Members->Keys()) {
            Out += QString::number(Name.size()) + QLatin1Char(':') + Name;
            Canonical(*Members->Find(Name), Out);
        }
        Out += QLatin1Char('}');
        return;
    }
    if (Node.ValueKind() == TJsonNode::TValueKind::vkNull) {
        Out += QLatin1Char('n');
        return;
    }
    const QString Text = Node.AsString();
    Out += QLatin1Char('s') + QString::number(Text.size()) + QLatin1Char(':') + Text;
}

}  // namespace

QString TAppliedMessages::Fingerprint(const QString& Type, const TJsonNode& Root)
{
    QString Text = Type + QLatin1Char('|');
    if (const TJsonNodeItems* Members = Root.Items())
        if (const TJsonNode* Rows = Members->Find(Type))
            Canonical(*Rows, Text);
    return QString::fromLatin1(QCryptographicHash::hash(Text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool TAppliedMessages::Find(const QString& MessageId, const QString& Fingerprint, QString& Confirmation)
{
    if (MessageId.isEmpty())
        return false;
    replinput::UseStatement(FQuery, QStringLiteral("SELECT A.CONFIRMATION FROM VRK_WEB_MESSAGE_IN A "
                                                   "WHERE A.MESSAGE_ID = :MESSAGE_ID AND A.FINGERPRINT = :FINGERPRINT"));
    FQuery.ParamByName(QStringLiteral("MESSAGE_ID")).SetAsString(MessageId);
    FQuery.ParamByName(QStringLiteral("FINGERPRINT")).SetAsString(Fingerprint);
    FQuery.Open();
    const bool Found = !FQuery.Eof();
    if (Found)
        Confirmation = FQuery.Fields()[0]->AsString();
    FQuery.Close();
    return Found;
}

void TAppliedMessages::Record(const QString& MessageId, const QString& Fingerprint, const QString& Type,
                              const QString& Confirmation)
{
    if (MessageId.isEmpty())
        return;
    replinput::UseStatement(FQuery, QStringLiteral("UPDATE OR INSERT INTO VRK_WEB_MESSAGE_IN (MESSAGE_ID, FINGERPRINT, "
                                                   "MESSAGE_TYPE, CONFIRMATION, APPLIED, CONFIRMED) VALUES (:MESSAGE_ID, "
                                                   ":FINGERPRINT, :MESSAGE_TYPE, :CONFIRMATION, CURRENT_TIMESTAMP, NULL) "
                                                   "MATCHING (MESSAGE_ID)"));
    FQuery.ParamByName(QStringLiteral("MESSAGE_ID")).SetAsString(MessageId);
    FQuery.ParamByName(QStringLiteral("FINGERPRINT")).SetAsString(Fingerprint);
    FQuery.ParamByName(QStringLiteral("MESSAGE_TYPE")).SetAsString(Type.left(60));
    FQuery.ParamByName(QStringLiteral("CONFIRMATION")).SetAsString(Confirmation);
    FQuery.ExecSQL();
    replinput::UseStatement(FQuery, QStringLiteral("DELETE FROM VRK_WEB_MESSAGE_IN A WHERE A.CONFIRMED < "
                                                   "DATEADD(-%1 DAY TO CURRENT_TIMESTAMP)")
                                        .arg(KeepConfirmedDays));
    FQuery.ExecSQL();
}

void TAppliedMessages::MarkConfirmed(const QString& MessageId)
{
    if (MessageId.isEmpty())
        return;
    replinput::UseStatement(FQuery, QStringLiteral("UPDATE VRK_WEB_MESSAGE_IN A SET A.CONFIRMED = CURRENT_TIMESTAMP "
                                                   "WHERE A.MESSAGE_ID = :MESSAGE_ID"));
    FQuery.ParamByName(QStringLiteral("MESSAGE_ID")).SetAsString(MessageId);
    FQuery.ExecSQL();
}
