#pragma once

#include "platformservices.h"

#include <memory>

// The platform services on Qt: QMessageBox, QProcess, QDesktopServices, and a local socket
// in the abstract namespace as the single-instance token (a named local server where there is no
// such namespace).
class QtPlatformServices final : public PlatformServices
{
public:
    QtPlatformServices();
    ~QtPlatformServices() override;
    Q_DISABLE_COPY_MOVE(QtPlatformServices)

    void showMessage(const QString &text, const QString &title, MessageIcon icon) override;
    AppInfo appInfo() const override;
    bool previousInstance() override;
    void startProgram(const QString &path) override;
    void openUrl(const QUrl &url) override;

    // The name of the single-instance token for this user and this executable.
    static QString instanceKey(const QString &canonicalExePath);

private:
    // The single-instance token, held until this object goes.
    class InstanceToken;
    std::unique_ptr<InstanceToken> m_instanceToken;
};
