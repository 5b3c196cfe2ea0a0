#include "platform/ui/SystemBeep.h"

#include <QApplication>

void SystemBeep() { QApplication::beep(); }
