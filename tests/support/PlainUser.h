#pragma once
// Root passes every permission check, so a test that needs a file the program
// may not read, or a folder it may not write, becomes an ordinary user while
// the object lives: the folder (and everything in it) is handed to "nobody"
// and the effective ids switch to it; they switch back at the end. Run as an
// ordinary user nothing changes.

#include <QString>

class TPlainUser {
public:
    explicit TPlainUser(const QString& Folder);
    ~TPlainUser();
    TPlainUser(const TPlainUser&) = delete;
    TPlainUser& operator=(const TPlainUser&) = delete;

private:
    bool FSwitched = false;
};
