#include "sync/ReplicateInputs.h"

#include "platform/database/FbQuery.h"
#include "platform/rtl/Exception.h"
#include "sync/jsonnode.h"

namespace {

QString ParamList(const std::vector<TReplInput>& Inputs)
{
    QStringList Names;
    for (const TReplInput& In : Inputs)
        Names << QLatin1Char(':') + In.Param;
    return Names.join(QStringLiteral(", "));
}

TDateTime ReadTimestamp(const TJsonNode& Node)
{
    const QString Text = Node.AsString();
    if (Text.isEmpty())
        throw EConvertError(QStringLiteral("'' is not a valid date and time"));
    return XMLTimeToDateTime(Text);
}

double ReadDecimal(const TJsonNode& Node)
{
    double Value = 0;
    if (!replinput::ParseDecimal(Node.AsString(), Value))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Node.AsString()));
    return Value;
}

// Reads the member by its kind into the parameter; raises when it cannot.
void Fill(TParam& P, const TJsonNode& Node, TInKind Kind)
{
    switch (Kind) {
    case TInKind::ikText:
        P.SetAsString(Node.AsString());
        break;
    case TInKind::ikId:
        P.SetAsLargeInt(Node.AsInt64());
        break;
    case TInKind::ikInteger:
        P.SetAsInteger(Node.AsInteger());
        break;
    case TInKind::ikTimestamp:
        P.SetAsDateTime(ReadTimestamp(Node));
        break;
    case TInKind::ikDate:
        P.SetAsDate(ReadTimestamp(Node));
        break;
    case TInKind::ikDecimal:
        P.SetAsFloat(ReadDecimal(Node));
        break;
    case TInKind::ikAmount:
        P.SetAsFloat(ReadDecimal(Node) / 100.0);
        break;
    case TInKind::ikBase64:
        P.SetAsString(QString::fromUtf8(QByteArray::fromBase64(Node.AsString().toLatin1())));
        break;
    }
}

bool EmptyMeansNull(TInKind Kind)
{
    return Kind == TInKind::ikDecimal || Kind == TInKind::ikAmount;
}

}  // namespace

QString TReplProcedure::ExecuteStatement() const
{
    return QStringLiteral("EXECUTE PROCEDURE ") + Procedure + QLatin1Char('(') + ParamList(Inputs) + QStringLiteral(") ");
}

QString TReplProcedure::SelectStatement(const QString& Outputs) const
{
    return QStringLiteral("SELECT ") + Outputs + QStringLiteral(" FROM ") + Procedure + QLatin1Char('(') + ParamList(Inputs) +
           QLatin1Char(')');
}

namespace replinput {

bool ParseDecimal(const QString& Text, double& Value)
{
    QString T = Text.trimmed();
    T.replace(QLatin1Char(','), QLatin1Char('.'));
    bool Ok = false;
    Value = T.toDouble(&Ok);
    return Ok && !T.isEmpty();
}

void UseStatement(TFbQuery& Query, const QString& Statement)
{
    if (Query.Active())
        Query.Close();
    if (Query.SQL().Text() != Statement)
        Query.SQL().SetText(Statement);
    for (int K = 0; K < Query.Params().Count(); ++K)
        Query.Params()[K].Clear();
}

void SetInput(TFbQuery& Query, const TJsonNode& Row, const TReplInput& Input)
{
    TParam& P = Query.ParamByName(Input.Param);
    if (Input.Required) {
        const TJsonNode& Node = Row.Member(Input.Member);  // raises "Unknown field: ..."
        if (EmptyMeansNull(Input.Kind) && Node.AsString().isEmpty())
            throw EConvertError(QStringLiteral("'' is not a valid floating point value"));
        Fill(P, Node, Input.Kind);
        return;
    }
    const TJsonNode* Node = Row.Items() ? Row.Items()->Find(Input.Member) : nullptr;
    if (!Node) {
        P.Clear();
        return;
    }
    if (EmptyMeansNull(Input.Kind) && Node->AsString().isEmpty()) {
        P.Clear();
        return;
    }
    try {
        Fill(P, *Node, Input.Kind);
    } catch (const std::exception&) {
        P.Clear();
    }
}

void SetInputs(TFbQuery& Query, const TJsonNode& Row, const TReplProcedure& Procedure)
{
    for (const TReplInput& In : Procedure.Inputs)
        if (!In.Member.isEmpty())
            SetInput(Query, Row, In);
}

}  // namespace replinput
