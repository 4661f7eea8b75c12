#include "catalogue/runtimeerror.h"

using namespace Qt::StringLiterals;

namespace
{
QString standardText(RuntimeError::Number number)
{
    switch (number) {
    case RuntimeError::DivisionByZero:
        return u"Division by zero"_s;
    case RuntimeError::Overflow:
        return u"Overflow"_s;
    case RuntimeError::OutOfMemory:
        return u"Out of memory"_s;
    case RuntimeError::SubscriptOutOfRange:
        return u"Subscript out of range"_s;
    case RuntimeError::BadFileName:
        return u"Bad file name"_s;
    case RuntimeError::FileNotFound:
        return u"File not found"_s;
    case RuntimeError::DeviceIoError:
        return u"Device I/O error"_s;
    case RuntimeError::PermissionDenied:
        return u"Permission denied"_s;
    case RuntimeError::PathFileAccessError:
        return u"Path/File access error"_s;
    case RuntimeError::PathNotFound:
        return u"Path not found"_s;
    case RuntimeError::InvalidPicture:
        return u"Invalid picture"_s;
    }
    return u"Application-defined or object-defined error"_s;
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
        return withPath(PathFileAccessError, u"a loop of links"_s, path);
    case FileProblem::NotPlain:
        return withPath(PathFileAccessError, u"not a plain file"_s, path);
    case FileProblem::Folder:
        return withPath(PathFileAccessError, u"a folder, not a program"_s, path);
    case FileProblem::NotExecutable:
        return withPath(PermissionDenied, u"not executable"_s, path);
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
    return {number, standardText(number) + u": "_s + path};
}

RuntimeError RuntimeError::withPath(Number number, const QString &reason, const QString &path)
{
    return {number, standardText(number) + u" ("_s + reason + u"): "_s + path};
}

QDebug operator<<(QDebug debug, const RuntimeError &error)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "RuntimeError(" << error.number() << ", " << error.description() << ')';
    return debug;
}
