#pragma once
// A framed tool button whose caption is its own (not every header can see
// the framed button: its state names clash with the platform tool bar's).

#include "components/framed/FcToolButton.h"

// A tool button with a caption of its own that its action's updates leave
// alone (the bar's short "Uusi" under the action "Kirjaa uusi").
class TOwnCaptionToolButton : public TFcToolButton {
public:
    explicit TOwnCaptionToolButton(TComponent* AOwner) : TFcToolButton(AOwner) {}
    QString OwnCaption() const { return FOwnCaption; }
    void SetOwnCaption(const QString& Value);
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;

private:
    QString FOwnCaption;
};
