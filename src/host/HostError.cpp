#include "host/HostError.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include "host/App.h"
#include "platform/files/HostPath.h"

namespace host {

HostError::HostError(int number, QString source, QString description, int helpContext)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      helpContext_(helpContext),
      what_(QStringLiteral("Run-time error '%1': %2").arg(number).arg(description_).toStdString()) {}

void HostError::SetDetail(const QString& detail) {
    detail_ = detail;
    what_ = QStringLiteral("Run-time error '%1': %2").arg(number_).arg(description_).toStdString();
    if (!detail_.isEmpty()) what_ += " (" + detail_.toStdString() + ")";
}

QString FileErrorDetail(const std::string& hostPath, int errnoValue) {
    const QString reason = QString::fromLocal8Bit(std::strerror(errnoValue));
    if (hostPath.empty()) return reason;
    return platform::BytesText(hostPath) + QStringLiteral(": ") + reason;
}

QString StandardDescription(int number) {
    switch (number) {
        case kInvalidProcedureCall:
            return QStringLiteral("Invalid procedure call or argument");
        case kOverflow:
            return QStringLiteral("Overflow");
        case kOutOfMemory:
            return QStringLiteral("Out of memory");
        case kSubscriptOutOfRange:
            return QStringLiteral("Subscript out of range");
        case kDivisionByZero:
            return QStringLiteral("Division by zero");
        case kTypeMismatch:
            return QStringLiteral("Type mismatch");
        case kInternalError:
            return QStringLiteral("Internal error");
        case kBadFileNameOrNumber:
            return QStringLiteral("Bad file name or number");
        case kFileNotFound:
            return QStringLiteral("File not found");
        case kFileAlreadyOpen:
            return QStringLiteral("File already open");
        case kDiskFull:
            return QStringLiteral("Disk full");
        case kInputPastEndOfFile:
            return QStringLiteral("Input past end of file");
        case kDeviceUnavailable:
            return QStringLiteral("Device unavailable");
        case kPermissionDenied:
            return QStringLiteral("Permission denied");
        case kPathFileAccessError:
            return QStringLiteral("Path/File access error");
        case kPathNotFound:
            return QStringLiteral("Path not found");
        default:
            return QStringLiteral("Application-defined or object-defined error");
    }
}

void RaiseError(int number) { throw HostError(number, App::EXEName(), StandardDescription(number)); }

void RaiseErrorWithDetail(int number, const QString& detail) {
    HostError error(number, App::EXEName(), StandardDescription(number));
    error.SetDetail(detail);
    throw error;
}

void RaiseError(int number, const QString& source, const QString& description, int helpContext) {
    throw HostError(number, source, description, helpContext);
}

namespace {

int FileErrorNumber(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
        case ENOTDIR:
            return kPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return kPermissionDenied;
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return kDiskFull;
        case ENAMETOOLONG:
        case EINVAL:
            return kBadFileNameOrNumber;
        default:
            return kPathFileAccessError;
    }
}

}  // namespace

void RaiseFileError(int errnoValue, const std::string& hostPath) {
    RaiseErrorWithDetail(FileErrorNumber(errnoValue), FileErrorDetail(hostPath, errnoValue));
}

}  // namespace host
