#pragma once
// The desktop's warning beep (a refused key, an invalid character).
void SystemBeep();
