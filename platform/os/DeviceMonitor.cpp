#include "platform/os/DeviceMonitor.h"

#include <QSocketNotifier>
#include <libudev.h>

struct TUdevDeviceMonitor::Impl {
    udev* Udev = nullptr;
    udev_monitor* Monitor = nullptr;
    std::unique_ptr<QSocketNotifier> Notifier;

    ~Impl()
    {
        Notifier.reset();
        if (Monitor)
            udev_monitor_unref(Monitor);
        if (Udev)
            udev_unref(Udev);
    }
};

TUdevDeviceMonitor::TUdevDeviceMonitor() : FImpl(std::make_unique<Impl>())
{
    FImpl->Udev = udev_new();
    if (!FImpl->Udev)
        return;
    FImpl->Monitor = udev_monitor_new_from_netlink(FImpl->Udev, "udev");
    if (!FImpl->Monitor)
        return;
    udev_monitor_filter_add_match_subsystem_devtype(FImpl->Monitor, "tty", nullptr);
    if (udev_monitor_enable_receiving(FImpl->Monitor) < 0) {
        udev_monitor_unref(FImpl->Monitor);
        FImpl->Monitor = nullptr;
        return;
    }
    FImpl->Notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(FImpl->Monitor), QSocketNotifier::Read);
    QObject::connect(FImpl->Notifier.get(), &QSocketNotifier::activated, [this] {
        udev_device* dev = udev_monitor_receive_device(FImpl->Monitor);
        if (!dev)
            return;
        const char* action = udev_device_get_action(dev);
        const char* node = udev_device_get_devnode(dev);
        // Virtual consoles and pseudo-terminals have no parent device; only
        // ports of real hardware count as plugged or unplugged.
        const QString name = node ? QString::fromLocal8Bit(node) : QString();
        // (a removed device may have lost its sysfs parent already, so USB and
        // ACM nodes count by their names too)
        const bool hardware = udev_device_get_parent(dev) != nullptr || name.contains(QLatin1String("ttyUSB"))
                              || name.contains(QLatin1String("ttyACM"));
        const QString act = action ? QString::fromLatin1(action) : QString();
        udev_device_unref(dev);
        if (!hardware || name.isEmpty())
            return;
        if (act == QLatin1String("add"))
            Notify(TDeviceChange::Arrival, name);
        else if (act == QLatin1String("remove"))
            Notify(TDeviceChange::RemoveComplete, name);
    });
}

TUdevDeviceMonitor::~TUdevDeviceMonitor() = default;

bool TUdevDeviceMonitor::Active() const
{
    return FImpl->Notifier != nullptr;
}
