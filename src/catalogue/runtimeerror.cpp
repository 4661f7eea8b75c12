#include "catalogue/runtimeerror.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace
{
QString standardText(RuntimeError::Number number)
{
    switch (number) {
    case RuntimeError::DivisionByZero:
        return QCoreApplication::translate("RuntimeError", "Division by zero");
    case RuntimeError::Overflow:
        return QCoreApplication::translate("RuntimeError", "Overflow");
    case RuntimeError::OutOfMemory:
        return QCoreApplication::translate("RuntimeError", "Out of memory");
    case RuntimeError::SubscriptOutOfRange:
        return QCoreApplication::translate("RuntimeError", "Subscript out of range");
    case RuntimeError::BadFileName:
        return QCoreApplication::translate("RuntimeError", "Bad file name");
    case RuntimeError::FileNotFound:
        return QCoreApplication::translate("RuntimeError", "File not found");
    case RuntimeError::DeviceIoError:
        return QCoreApplication::translate("RuntimeError", "Device I/O error");
    case RuntimeError::PermissionDenied:
        return QCoreApplication::translate("RuntimeError", "Permission denied");
    case RuntimeError::PathFileAccessError:
        return QCoreApplication::translate("RuntimeError", "Path/File access error");
    case RuntimeError::PathNotFound:
        return QCoreApplication::translate("RuntimeError", "Path not found");
    case RuntimeError::InvalidPicture:
        return QCoreApplication::translate("RuntimeError", "Invalid picture");
    }
    return QCoreApplication::translate("RuntimeError",
                                       "Application-defined or object-defined error");
}
} // namespace

RuntimeError::RuntimeError(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(m_description.toUtf8())
{
}

const char *RuntimeError::what() const noexcept
{
    return m_what.constData();
}

RuntimeError RuntimeError::divisionByZero()
{
    return {DivisionByZero, standardText(DivisionByZero)};
}

RuntimeError RuntimeError::overflow()
{
    return {Overflow, standardText(Overflow)};
}

RuntimeError RuntimeError::outOfMemory()
{
    return {OutOfMemory, standardText(OutOfMemory)};
}

RuntimeError RuntimeError::subscriptOutOfRange()
{
    return {SubscriptOutOfRange, standardText(SubscriptOutOfRange)};
}

RuntimeError RuntimeError::forFile(FileProblem problem, const QString &path, const QString &reason)
{
    switch (problem) {
    case FileProblem::NotFound:
        return withPath(FileNotFound, path);
    case FileProblem::PermissionDenied:
        return withPath(PermissionDenied, path);
    case FileProblem::LinkLoop:
        return withPath(PathFileAccessError,
                        QCoreApplication::translate("RuntimeError", "a loop of links"), path);
    case FileProblem::NotPlain:
        return withPath(PathFileAccessError,
                        QCoreApplication::translate("RuntimeError", "not a plain file"), path);
    case FileProblem::Folder:
        return withPath(PathFileAccessError,
                        QCoreApplication::translate("RuntimeError", "a folder, not a program"),
                        path);
    case FileProblem::NotExecutable:
        return withPath(PermissionDenied,
                        QCoreApplication::translate("RuntimeError", "not executable"), path);
    case FileProblem::BadFileName:
        return withPath(BadFileName, path);
    case FileProblem::TooLarge:
        return withPath(PathFileAccessError, reason, path);
    case FileProblem::ReadFailed:
        return withPath(DeviceIoError, reason, path);
    case FileProblem::Other:
        return withPath(PathFileAccessError, reason, path);
    case FileProblem::None:
    case FileProblem::OpenFailed:
        break;
    }
    return withPath(PathFileAccessError, path);
}

RuntimeError RuntimeError::withPath(Number number, const QString &path)
{
    //: %1 is the kind of error, %2 the path.
    return {number,
            QCoreApplication::translate("RuntimeError", "%1: %2").arg(standardText(number), path)};
}

RuntimeError RuntimeError::withPath(Number number, const QString &reason, const QString &path)
{
    //: %1 is the kind of error, %2 what in particular, %3 the path.
    return {number,
            QCoreApplication::translate("RuntimeError", "%1 (%2): %3")
                .arg(standardText(number), reason, path)};
}

QDebug operator<<(QDebug debug, const RuntimeError &error)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "RuntimeError(" << error.number() << ", " << error.description() << ')';
    return debug;
}
