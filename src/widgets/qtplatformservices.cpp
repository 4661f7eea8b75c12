#include "widgets/qtplatformservices.h"

#include "catalogue/runtimeerror.h"
#include "platform/instancetoken.h"
#include "platform/programstart.h"
#include "widgets/appidentity.h"
#include "widgets/startfeedback.h"
#include "widgets/version.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

QtPlatformServices::QtPlatformServices()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        m_startFeedback = std::make_unique<StartFeedback>();
    }
}

QtPlatformServices::~QtPlatformServices() = default;

void QtPlatformServices::showMessage(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning,
                    title.isEmpty() ? appInfo().title : title, text, QMessageBox::Ok);
    // Paths may hold "<" or "&"; the text is shown exactly as composed.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

AppInfo QtPlatformServices::appInfo() const
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    QString directory = exe.canonicalPath();
    if (directory.isEmpty()) {
        directory = exe.absolutePath();
    }
    // The root folder is the one place where a directory would end with a separator.
    if (directory.endsWith(u'/')) {
        directory.chop(1);
    }
    return {exe.completeBaseName(),
            directory,
            AppIdentity::title.toString(),
            KK_VERSION_MAJOR,
            KK_VERSION_MINOR,
            KK_VERSION_PATCH,
            AppIdentity::copyright.toString()};
}

bool QtPlatformServices::previousInstance()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString path
        = exe.canonicalFilePath().isEmpty() ? exe.absoluteFilePath() : exe.canonicalFilePath();
    m_instanceToken = std::make_unique<InstanceToken>(path);
    return m_instanceToken->takenElsewhere();
}

void QtPlatformServices::startProgram(const QString &path)
{
    const StartEnvironment own
        = m_startFeedback ? m_startFeedback->starting(path) : StartEnvironment();
    if (const StartResult result = ::startProgram(path, own); result.problem != FileProblem::None) {
        if (m_startFeedback) {
            m_startFeedback->failed(own);
        }
        throw RuntimeError::forFile(result.problem, path, result.reason);
    }
}

void QtPlatformServices::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
