#include "host/HostError.h"

#include <cerrno>

#include "host/App.h"

namespace host {

HostError::HostError(int number, QString source, QString description, int helpContext)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      helpContext_(helpContext),
      what_(QStringLiteral("Run-time error '%1': %2").arg(number).arg(description_).toStdString()) {}

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

void RaiseError(int number, const QString& source, const QString& description, int helpContext) {
    throw HostError(number, source, description, helpContext);
}

void RaiseFileError(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
        case ENOTDIR:
            RaiseError(kPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
            RaiseError(kPermissionDenied);
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            RaiseError(kDiskFull);
        case ENAMETOOLONG:
        case EINVAL:
            RaiseError(kBadFileNameOrNumber);
        default:
            RaiseError(kPathFileAccessError);
    }
}

}  // namespace host
