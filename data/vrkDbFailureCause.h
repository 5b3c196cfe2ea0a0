#pragma once
// What the operator can do about a database failure. The engine's texts are
// English and name internal codes; the desk needs the cause in Finnish and
// the step that mends it: free disk space, give write access, check the
// installation file's keys, validate or restore a damaged file.

#include <QString>

// The Finnish cause of an engine failure, empty when the text is not one of
// the known causes. DbName is the database's file or server path as
// configured; it is named in the text where it helps.
QString DbFailureCause(const QString& EngineText, const QString& DbName);

// The cause when known, else the engine's own text.
QString DbFailureText(const QString& EngineText, const QString& DbName);

// Whether the disk of a database file has less room than a card read needs
// (false for a server path: its disk is not ours to look at).
bool DatabaseDiskNearlyFull(const QString& DbName);
