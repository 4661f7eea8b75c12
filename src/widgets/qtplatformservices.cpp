#include "widgets/qtplatformservices.h"

#include "catalogue/runtimeerror.h"
#include "platform/instancetoken.h"
#include "platform/programstart.h"
#include "widgets/appidentity.h"
#include "widgets/version.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>

QtPlatformServices::QtPlatformServices() = default;
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
    if (const StartResult result = ::startProgram(path); result.problem != FileProblem::None) {
        throw RuntimeError::forFile(result.problem, path, result.reason);
    }
}

void QtPlatformServices::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
