#pragma once
// The clipboard: text and pictures.

#include "platform/ui/Graphics.h"

#include <QString>

class TClipboard {
public:
    QString AsText() const;
    void SetAsText(const QString& Value);
    bool HasText() const;
    bool HasPicture() const;
    void AssignBitmap(const TBitmap* Bitmap);
    // Fills Bitmap with the clipboard's picture; false when it holds none.
    bool GetBitmap(TBitmap* Bitmap) const;
    void Clear();
};

TClipboard* Clipboard();
