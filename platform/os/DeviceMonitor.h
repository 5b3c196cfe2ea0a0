#pragma once
// Arrival and removal notices of serial devices (USB serial adapters and the
// like), delivered on the thread that made the monitor, through its event
// loop. The program's device-change handler receives the port's name (its
// device path) and whether it arrived or was removed.
//
// TDeviceMonitor is the interface the handler is wired to; TUdevDeviceMonitor
// watches the kernel's tty subsystem through libudev. Tests use the base
// class itself and call Notify to play a plug or an unplug.

#include <QString>
#include <functional>
#include <memory>

enum class TDeviceChange { Arrival, RemoveComplete };

class TDeviceMonitor {
public:
    using THandler = std::function<void(TDeviceChange Change, const QString& PortName)>;
    virtual ~TDeviceMonitor() = default;

    void SetOnDeviceChange(THandler Handler) { FHandler = std::move(Handler); }
    // Hands a notice to the handler (when one is set).
    void Notify(TDeviceChange Change, const QString& PortName)
    {
        if (FHandler)
            FHandler(Change, PortName);
    }

private:
    THandler FHandler;
};

class TUdevDeviceMonitor : public TDeviceMonitor {
public:
    TUdevDeviceMonitor();
    ~TUdevDeviceMonitor() override;
    // Whether the kernel's notices are watched (false without udev).
    bool Active() const;

private:
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};
