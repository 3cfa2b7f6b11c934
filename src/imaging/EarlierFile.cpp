#include "imaging/EarlierFile.h"

#include "host/HostError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/HostPath.h"

EarlierFile::EarlierFile(std::string nameBytes) : nameBytes_(std::move(nameBytes)) {
    using namespace platform;
    const HANDLE hFind = FindFirstFileA(nameBytes_.c_str(), &find_);
    existed_ = hFind != INVALID_HANDLE_VALUE;
    if (existed_) FindClose(hFind);
    if (existed_ && (find_.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        host::RaiseError(host::kPathFileAccessError);
}

void EarlierFile::HandOn() const {
    using namespace platform;
    if (!existed_) return;
    const HFILE hFile = _lopen(nameBytes_.c_str(), OF_WRITE | OF_SHARE_DENY_WRITE);
    if (hFile == HFILE_ERROR) return;
    SetFileTime(hFile, &find_.ftCreationTime, &find_.ftLastAccessTime, &find_.ftLastWriteTime);
    _lclose(hFile);
    SetFileAttributesA(nameBytes_.c_str(), find_.dwFileAttributes);
}

QString SaveErrorDetail(const QString& sFile, bool bWriteFailed) {
    const std::string hostPath = platform::HostPath(sFile);
    if (bWriteFailed) return host::FileErrorDetail(hostPath, platform::LastWriteError());
    if (hostPath.empty()) return sFile.left(sFile.indexOf(QChar(0)));
    return platform::BytesText(hostPath);
}
