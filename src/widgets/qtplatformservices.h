#pragma once

#include "widgets/platformservices.h"

#include <memory>

class InstanceToken;
class StartFeedback;

// The platform services on Qt: QMessageBox for the boxes, the platform layer for the
// single-instance token and for starting programs, with the desktop told of each start where the
// display has a way, QDesktopServices for the browser.
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

private:
    // The single-instance token, held until this object goes.
    std::unique_ptr<InstanceToken> m_instanceToken;
    // Made where there is a GUI application to watch for presses.
    std::unique_ptr<StartFeedback> m_startFeedback;
};
