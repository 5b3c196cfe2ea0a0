#include "components/dbcontrols/TSavedSettingsStore.h"

namespace {
TSavedSettingsStore* GStore = nullptr;
}

TSavedSettingsStore* GlobalSettingsStore() { return GStore; }

void SetGlobalSettingsStore(TSavedSettingsStore* Store) { GStore = Store; }
