#pragma once
// The serial device list of the device form and the device refresh: the port
// lists are filled from the system's serial ports, and a refresh (on request,
// or when a serial port is plugged in or removed while an event is
// processed) rebuilds them and restarts the reader.

#include "platform/os/DeviceMonitor.h"

#include <QString>

// Fills the reader and printer port lists of the device form, sorted by text.
void hae_com_portit();
// The device form's state at start-up: both lists filled, the configured
// reader and printer ports selected (none when not listed); the reader is
// not started.
void selectDevicePorts();
// Rebuilds the lists, selects the configured ports and restarts the reader.
void refreshDevices();
// The device-change handler: only while an event is processed.
void DeviceChanged(TDeviceChange Change, const QString& PortName);
// Wires a monitor's notices to DeviceChanged.
void WatchDevices(TDeviceMonitor& Monitor);
