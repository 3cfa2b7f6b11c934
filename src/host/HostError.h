#pragma once
// The one error type of the program: a number, a source and a description, and an optional help
// context. The host raises it for its own failures (with the classic run-time error numbers) and
// the program raises it for its own (26001 from the JPEG writer, 26002 from the PNG writer).

#include <QString>
#include <exception>
#include <string>

namespace host {

enum ErrorNumber : int {
    kInvalidProcedureCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kInternalError = 51,
    kBadFileNameOrNumber = 52,
    kFileNotFound = 53,
    kFileAlreadyOpen = 55,
    kDiskFull = 61,
    kInputPastEndOfFile = 62,
    kDeviceUnavailable = 68,
    kPermissionDenied = 70,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
};

class HostError : public std::exception {
public:
    HostError(int number, QString source, QString description, int helpContext = 0);

    int Number() const { return number_; }
    const QString& Source() const { return source_; }
    const QString& Description() const { return description_; }
    int HelpContext() const { return helpContext_; }
    // What the user needs beyond the description: the file or folder and the system's reason
    // ("/home/ann/shots/scrn004.jpg: No space left on device"); empty when there is nothing more.
    const QString& Detail() const { return detail_; }
    void SetDetail(const QString& detail);
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString source_;
    QString description_;
    int helpContext_;
    QString detail_;
    std::string what_;
};

// The host's text for one of its own error numbers ("Overflow", "Path not found", ...).
QString StandardDescription(int number);

// Raises one of the host's own errors, with the program as source and the standard text.
[[noreturn]] void RaiseError(int number);
// The same with a detail: the file or folder and the system's reason (FileErrorDetail), or more.
[[noreturn]] void RaiseErrorWithDetail(int number, const QString& detail);
// Raises an error with every item given.
[[noreturn]] void RaiseError(int number, const QString& source, const QString& description,
                             int helpContext = 0);
// Raises the host error that stands for a failed file operation's errno value; its detail names
// the file or folder (when given) and the system's reason.
[[noreturn]] void RaiseFileError(int errnoValue, const std::string& hostPath = {});
// "<path>: <the system's text for errnoValue>", the path as the file system spells it.
QString FileErrorDetail(const std::string& hostPath, int errnoValue);

}  // namespace host
