#pragma once
// TformSettings: this computer's registration, the card reading, test entry
// and result board options, and the messages of this run. Every option is
// applied and written to the device settings file the moment it changes;
// only the registration waits for "OK".

#include "platform/ui/Forms.h"

class TEdit;
class TCheckBox;
class TComboBox;
class TButton;
class TMemo;
class TPageControl;

class TformSettings : public TForm {
public:
    explicit TformSettings(TComponent* AOwner);
    ~TformSettings() override;

    TPageControl* pcSettings = nullptr;
    TEdit *lbledtClientName = nullptr, *lbledtOwner = nullptr, *lbledtClientVersion = nullptr,
          *lbledtClientSecret = nullptr;
    TCheckBox *chkReadSameChip = nullptr, *chkReadForest = nullptr, *chkTestNewRun = nullptr;
    TComboBox *fccbReadDelay = nullptr, *fccbResultBoardStyle = nullptr, *fccbRentedChip = nullptr,
              *fccbMPChip = nullptr;
    TButton *btnTestRented = nullptr, *btnTestMP = nullptr, *btnOK = nullptr;
    TMemo* rmxMessages = nullptr;

    // Fills the controls from the current fields (each showing).
    void LoadControls();
    void OKClick();
    // The sound of a list entry: 0 none, 1 default, 2 information, 3 warning, 4 error.
    static void PlaySound(int Index);

private:
    void BuildGeneral();
    void BuildDevices();
    void BuildUI();
    void BuildMessages();
    void CheckChanged(TCheckBox* Box, QString& Field, const QString& Section, const QString& Key);
    void ListChanged(TComboBox* List, int& Field, const QString& Section, const QString& Key);
    bool FLoading = false;
};

extern TformSettings* formSettings;
