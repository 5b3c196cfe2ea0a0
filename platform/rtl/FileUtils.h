#pragma once
// File-name and file-system helpers; paths use "/" and keep their case.

#include <QString>

QString IncludeTrailingPathDelimiter(const QString& S);
QString ExcludeTrailingPathDelimiter(const QString& S);
QString ExtractFilePath(const QString& FileName);  // with the trailing "/"
QString ExtractFileDir(const QString& FileName);   // without it
QString ExtractFileName(const QString& FileName);
QString ExtractFileExt(const QString& FileName);   // with the dot
QString ChangeFileExt(const QString& FileName, const QString& Extension);
bool FileExists(const QString& FileName);
bool DirectoryExists(const QString& Directory);
bool ForceDirectories(const QString& Dir);
bool CreateDir(const QString& Dir);
bool DeleteFile(const QString& FileName);
bool RenameFile(const QString& OldName, const QString& NewName);

// The folder of the running executable, with a trailing "/".
QString ExecutableDir();
// Blocks the calling thread.
void Sleep(unsigned Milliseconds);
// Gives a file the permissions a newly created file of the user gets
// (0666 less the umask): files written through a private temporary file
// would otherwise stay readable by their owner only.
void SetUserFileMode(const QString& FileName);
