#pragma once
// The serial device list of the device form and the device refresh: the port
// lists are filled from the system's serial ports, and a refresh (on request,
// or when a serial port is plugged in or removed while an event is
// processed) rebuilds them and restarts the reader.

#include "platform/os/DeviceMonitor.h"

#include <QString>

// Fills the reader and printer port lists of the device form, sorted by text.
void hae_com_portit();
// The device form as the main window's initial state leaves it: the reader
// and printer types and ports of the configuration chosen (a port not in the
// system's list stays unchosen), the reader not started.
void InitialDeviceState();
// Rebuilds the lists, selects the configured ports and restarts the reader.
void refreshDevices();
// The device-change handler: only while an event is processed.
void DeviceChanged(TDeviceChange Change, const QString& PortName);
// Wires a monitor's notices to DeviceChanged.
void WatchDevices(TDeviceMonitor& Monitor);
