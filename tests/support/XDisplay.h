#pragma once
// A private X display for a test that needs a real window system: an Xvfb
// server on a free display number with the openbox window manager on it,
// so windows get frames and are placed as on a desktop. Both processes end
// with the object (and with the test process, whatever ends it).
//
//   TXDisplay x;
//   if (!x.Start()) GTEST_SKIP() << x.LastError().toStdString();
//   p.Options.Display = x.Name();

#include <QProcess>
#include <QString>
#include <memory>

class TXDisplay {
public:
    TXDisplay() = default;
    ~TXDisplay();
    TXDisplay(const TXDisplay&) = delete;
    TXDisplay& operator=(const TXDisplay&) = delete;

    // False (with LastError) when Xvfb or openbox is missing or does not come up.
    bool Start();
    QString Name() const { return FName; }
    const QString& LastError() const { return FLastError; }

private:
    std::unique_ptr<QProcess> StartProcess(const QString& Program, const QStringList& Args);
    void Stop(std::unique_ptr<QProcess>& Process);
    std::unique_ptr<QProcess> FServer, FManager;
    QString FName;
    QString FLastError;
};
