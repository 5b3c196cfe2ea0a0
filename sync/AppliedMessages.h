#pragma once
// The download messages this computer has applied, kept in its event database
// (VRK_WEB_MESSAGE_IN) with the confirmation that was sent for each.
//
// The dispatch records a message in the transaction that applies its rows and
// commits before it confirms: a confirmation that the service took while every
// reply to it was lost, or a commit that would have failed after the service
// counted the message as delivered, can then no longer lose the message. When
// the service delivers a recorded message again (it never learnt of the
// confirmation), the stored confirmation goes out again and the rows are not
// applied a second time.
//
// A message is known by its id and by a fingerprint of its type and rows, so
// that another message that a service happens to give a used id is applied.

#include <QString>

class TFbQuery;
class TJsonNode;

class TAppliedMessages {
public:
    // Query: a query in the worker's update transaction (started by the caller).
    explicit TAppliedMessages(TFbQuery& Query) : FQuery(Query) {}

    // SHA-256 of the message's type and of its rows member (member names in
    // order, values as text); "hasMore" and the envelope do not count.
    static QString Fingerprint(const QString& Type, const TJsonNode& Root);

    // True when this message was applied before; Confirmation then holds the
    // confirmation body sent for it.
    bool Find(const QString& MessageId, const QString& Fingerprint, QString& Confirmation);
    // Records the applied message with its confirmation (replacing a message
    // of the same id and another fingerprint), and forgets messages confirmed
    // long ago.
    void Record(const QString& MessageId, const QString& Fingerprint, const QString& Type, const QString& Confirmation);
    // The service accepted the confirmation.
    void MarkConfirmed(const QString& MessageId);

private:
    TFbQuery& FQuery;
};
