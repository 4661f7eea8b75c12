#pragma once

#include <QDebug>
#include <QString>

#include "platform/fileproblem.h"

#include <exception>

// A run-time error as the launcher reports it: a number and a description. Every failure that
// the error traps report is one of these; the number tells the kind, the description is what the
// user reads and names the path involved wherever there is one.
class RuntimeError final : public std::exception
{
public:
    enum Number : int {
        DivisionByZero = 11,
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        BadFileName = 52,
        FileNotFound = 53,
        DeviceIoError = 57,
        PermissionDenied = 70,
        PathFileAccessError = 75,
        PathNotFound = 76,
        InvalidPicture = 481,
    };

    RuntimeError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override;

    // The errors that name no path, with the standard description of their number.
    static RuntimeError divisionByZero();
    static RuntimeError overflow();
    static RuntimeError outOfMemory();
    static RuntimeError subscriptOutOfRange();
    // What a file problem means to the user, naming the path, e.g. "File not found: /opt/suite/
    // Tool/tool.png" or "Path/File access error (a loop of links): ...". `reason` gives the
    // system's words for ReadFailed and Other, and the limit passed for TooLarge.
    static RuntimeError forFile(FileProblem problem, const QString &path,
                                const QString &reason = QString());
    // The kind of failure and the path, e.g. "File not found: /opt/suite/Tool/tool.png".
    static RuntimeError withPath(Number number, const QString &path);
    static RuntimeError withPath(Number number, const QString &reason, const QString &path);

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

QDebug operator<<(QDebug debug, const RuntimeError &error);
